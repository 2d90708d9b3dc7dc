#pragma once
// The proportional calculation: the other side's new value from the two start
// values and the new value typed on one side.
#include <cstdint>

// Index 1 means the width changed, any other index the height. The result is
// trunc((s_o / 100) * (n / (s_c / 100))) with the roundings the program has
// always used: s_c / 100, the quotient, s_o / 100 and the product rounded to a
// 64-bit significand, the percentage in between rounded to a 53-bit one, all to
// nearest with ties to even. The same numbers on every compiler and CPU.
//
// The start value of the changed side should be at least 1; for 0 the result
// is 0 (no proportion can be formed) instead of a division by zero. A result
// beyond the 32-bit range saturates at its limit rather than wrapping round to
// a value of the wrong sign (only possible outside the fields' ranges).
std::int32_t AndererWert(std::int32_t startWidth, std::int32_t startHeight, int index, std::int32_t newValue);
