// Compares AndererWert with the x87 long double path on 10^8 random inputs from
// the fields' ranges (or as many as given as the first argument). Prints the
// number of mismatches and the run time; the exit code is 1 on any mismatch,
// 2 where long double is not the x87 format and no comparison is possible.
#include "calc/AndererWert.h"
#include "support/AndererWertX87.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// splitmix64: fast, fixed sequence on every platform.
struct SplitMix64 {
    std::uint64_t state;
    std::uint64_t next()
    {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }
    // Uniform in lo..hi (the modulo bias is below 10^-13 for these ranges).
    std::int32_t in(std::int32_t lo, std::int32_t hi)
    {
        return static_cast<std::int32_t>(lo
                                         + static_cast<std::int64_t>(next() % static_cast<std::uint64_t>(hi - lo + 1)));
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (!reference::X87PathUsable()) {
        std::printf("long double is not the x87 80-bit format here: nothing to compare against\n");
        return 2;
    }
    const long long count = argc > 1 ? std::atoll(argv[1]) : 100'000'000LL;
    SplitMix64 rng{0x5A4E4F4C495448u};
    long long mismatches = 0;
    const auto started = std::chrono::steady_clock::now();
    for (long long i = 0; i < count; ++i) {
        const std::int32_t width = rng.in(1, 9999), height = rng.in(1, 9999);
        const int index = rng.in(1, 2);
        const std::int32_t newValue = rng.in(-9999, 99999);
        const std::int32_t own = AndererWert(width, height, index, newValue);
        const std::int32_t x87 = reference::AndererWertX87(width, height, index, newValue);
        if (own != x87) {
            if (++mismatches <= 10)
                std::printf("mismatch: %dx%d index %d value %d: %d, x87 %d\n", width, height, index, newValue, own,
                            x87);
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("inputs: %lld, mismatches: %lld, run time: %.1f s\n", count, mismatches, seconds);
    return mismatches == 0 ? 0 : 1;
}
