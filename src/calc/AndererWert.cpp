#include "calc/AndererWert.h"

#include <bit>
#include <limits>

// Why this is exact: every operand is an integer or a binary float kept as an
// integer significand m (2^63 <= m < 2^64) and an exponent. Each step computes
// the true result's first 64 bits, the next bit and whether anything nonzero
// follows, with plain 64-bit integer operations, then rounds to nearest, ties
// to even - the definition of a correctly rounded operation. Nothing passes
// through the machine's floating point, so neither the width of long double
// nor the FPU's precision control can change a result.
namespace {

struct Extended {
    std::uint64_t m = 0; // significand, top bit set; 0 only for the value zero
    int e = 0;           // value = m * 2^(e - 63)
};

constexpr std::uint64_t kTopBit = std::uint64_t{1} << 63;

Extended fromMagnitude(std::uint64_t magnitude)
{
    if (magnitude == 0)
        return {};
    const int shift = std::countl_zero(magnitude);
    return {magnitude << shift, 63 - shift};
}

// Adds one unit in the last place when the discarded part is more than half a
// unit, or exactly half and the significand is odd.
void roundHalfEven(Extended& x, bool roundBit, bool sticky)
{
    if (roundBit && (sticky || (x.m & 1))) {
        if (++x.m == 0) { // carried out of 64 bits: the value is now a power of two
            x.m = kTopBit;
            ++x.e;
        }
    }
}

// a / b rounded to 64 bits; both nonzero. Restoring division producing one
// quotient bit per round, written without data-dependent branches.
Extended divide(const Extended& a, const Extended& b)
{
    const std::uint64_t y = b.m;
    std::uint64_t r = a.m;
    int e = a.e - b.e;
    // The quotient of two significands lies in (1/2, 2). Below 1, start one
    // binary place lower; 2r >= 2^64 > y then, so the first bit is 1 again.
    // Here and below the shifted remainder may lose its top bit, but its true
    // value is below 2y, so subtracting y modulo 2^64 still leaves the exact
    // remainder, which is below y.
    if (r < y) {
        r <<= 1;
        --e;
    }
    r -= y;
    std::uint64_t q = 1;
    for (int i = 0; i < 63; ++i) {
        const std::uint64_t out = r >> 63;
        r <<= 1;
        const std::uint64_t take = out | static_cast<std::uint64_t>(r >= y);
        r -= y & (std::uint64_t{0} - take);
        q = (q << 1) | take;
    }
    const std::uint64_t out = r >> 63;
    r <<= 1;
    const bool roundBit = out != 0 || r >= y;
    if (roundBit)
        r -= y;
    Extended result{q, e};
    roundHalfEven(result, roundBit, r != 0);
    return result;
}

// a * b rounded to 64 bits; both nonzero. The 128-bit product from 32-bit halves.
Extended multiply(const Extended& a, const Extended& b)
{
    const std::uint64_t aLo = a.m & 0xFFFFFFFFu, aHi = a.m >> 32;
    const std::uint64_t bLo = b.m & 0xFFFFFFFFu, bHi = b.m >> 32;
    const std::uint64_t ll = aLo * bLo, lh = aLo * bHi, hl = aHi * bLo, hh = aHi * bHi;
    const std::uint64_t middle = (ll >> 32) + (lh & 0xFFFFFFFFu) + (hl & 0xFFFFFFFFu);
    std::uint64_t hi = hh + (lh >> 32) + (hl >> 32) + (middle >> 32);
    std::uint64_t lo = (middle << 32) | (ll & 0xFFFFFFFFu);
    // The product of two significands lies in [2^126, 2^128).
    int e = a.e + b.e + 1;
    if ((hi & kTopBit) == 0) {
        hi = (hi << 1) | (lo >> 63);
        lo <<= 1;
        --e;
    }
    Extended result{hi, e};
    roundHalfEven(result, (lo & kTopBit) != 0, (lo << 1) != 0);
    return result;
}

// x rounded to a 53-bit significand (kept in the 64-bit form).
Extended toDouble(const Extended& x)
{
    constexpr int kDropped = 64 - 53;
    constexpr std::uint64_t kHalf = std::uint64_t{1} << (kDropped - 1);
    const std::uint64_t rest = x.m & ((std::uint64_t{1} << kDropped) - 1);
    Extended result{x.m >> kDropped, x.e};
    roundHalfEven(result, (rest & kHalf) != 0, (rest & (kHalf - 1)) != 0);
    if (result.m >> 53) { // rounded up to 2^53
        result.m >>= 1;
        ++result.e;
    }
    result.m <<= kDropped;
    return result;
}

std::uint64_t magnitude(std::int32_t v)
{
    return v < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(static_cast<std::int64_t>(v))
                 : static_cast<std::uint64_t>(v);
}

} // namespace

std::int32_t AndererWert(std::int32_t startWidth, std::int32_t startHeight, int index, std::int32_t newValue)
{
    const std::int32_t changed = index == 1 ? startWidth : startHeight;
    const std::int32_t other = index == 1 ? startHeight : startWidth;
    if (changed == 0 || other == 0 || newValue == 0)
        return 0;
    const bool negative = ((changed < 0) ^ (other < 0) ^ (newValue < 0)) != 0;

    // Signs are carried separately: every step is a product or quotient, and
    // rounding to nearest is symmetric, so magnitudes round the same either way.
    const Extended hundred = fromMagnitude(100);
    const Extended q = divide(fromMagnitude(magnitude(changed)), hundred); // 1.
    const Extended p = divide(fromMagnitude(magnitude(newValue)), q);      // 2.
    const Extended r = toDouble(p);                                        // 3.
    const Extended t = divide(fromMagnitude(magnitude(other)), hundred);   // 4.
    const Extended u = multiply(t, r);                                     // 5.

    // 6. Truncation toward zero: drop the fraction bits of the magnitude.
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 31; // |INT32_MIN|
    std::uint64_t whole = 0;
    if (u.e >= 63)
        whole = kLimit;
    else if (u.e >= 0)
        whole = u.m >> (63 - u.e);
    if (negative)
        return whole >= kLimit ? std::numeric_limits<std::int32_t>::min() : -static_cast<std::int32_t>(whole);
    return whole >= kLimit ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(whole);
}
