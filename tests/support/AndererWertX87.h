#pragma once
// The proportional calculation written straight in the C++ types: long double
// for the 64-bit significand, a cast to double for the 53-bit one. It follows
// the required roundings only where long double is the x87 80-bit format at
// full precision (x86-64 Linux), and serves there as the yardstick for the
// portable implementation.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

namespace reference {

// True when long double carries a 64-bit significand and the FPU really rounds
// to it (precision control not lowered to double).
inline bool X87PathUsable()
{
    if constexpr (LDBL_MANT_DIG != 64) {
        return false;
    } else {
        volatile long double one = 1.0L;
        volatile long double tiny = 0x1p-63L;
        return one + tiny != one;
    }
}

// Same contract as AndererWert: 0 for a zero start value of the changed side,
// results beyond the 32-bit range saturate.
inline std::int32_t AndererWertX87(std::int32_t startWidth, std::int32_t startHeight, int index, std::int32_t newValue)
{
    const long double changed = index == 1 ? startWidth : startHeight;
    const long double other = index == 1 ? startHeight : startWidth;
    if (changed == 0)
        return 0;
    const long double q = changed / 100.0L;
    const long double p = static_cast<long double>(newValue) / q;
    const double r = static_cast<double>(p);
    const long double t = other / 100.0L;
    const long double u = std::trunc(t * static_cast<long double>(r));
    if (u >= 2147483647.0L)
        return std::numeric_limits<std::int32_t>::max();
    if (u <= -2147483648.0L)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(u);
}

} // namespace reference
