#pragma once
// TEMPORARY STAND-IN until the calculation's own AndererWert lands; replace this
// file with that one. Same signature; extended precision for the quotients,
// the percentage held in double precision, truncated toward zero.
#include <cmath>
#include <cstdint>

inline std::int32_t AndererWert(std::int32_t startBreite, std::int32_t startHoehe, int index, std::int32_t neuerWert)
{
    const long double changed = index == 1 ? startBreite : startHoehe;
    const long double other = index == 1 ? startHoehe : startBreite;
    const long double q = changed / 100.0L;
    const double r = static_cast<double>(static_cast<long double>(neuerWert) / q);
    const long double u = (other / 100.0L) * static_cast<long double>(r);
    return static_cast<std::int32_t>(std::trunc(u));
}
