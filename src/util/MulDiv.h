#pragma once
#include <cstdint>

namespace util {

// a * b / c with a 64-bit intermediate, rounded to the nearest integer, halves
// away from zero; -1 when c is 0 (the Windows routine of that name does the same).
constexpr std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c)
{
    if (c == 0)
        return -1;
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    const bool negative = (p < 0) != (c < 0);
    const std::int64_t ap = p < 0 ? -p : p;
    const std::int64_t ac = c < 0 ? -std::int64_t{c} : c;
    const std::int64_t q = (ap + ac / 2) / ac;
    return static_cast<std::int32_t>(negative ? -q : q);
}

} // namespace util
