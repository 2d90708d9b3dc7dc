// AndererWert against the x87 long double path as baseline, on the same inputs.
// Prints the ratio of the two times per call after the usual table.
#include "calc/AndererWert.h"
#include "support/AndererWertX87.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

struct Input {
    std::int32_t width, height;
    int index;
    std::int32_t newValue;
};

const std::vector<Input>& Inputs()
{
    static const std::vector<Input> inputs = [] {
        std::mt19937_64 rng(7);
        std::uniform_int_distribution<std::int32_t> start(1, 9999), newValue(-9999, 99999);
        std::uniform_int_distribution<int> side(1, 2);
        std::vector<Input> v(4096);
        for (Input& in : v)
            in = {start(rng), start(rng), side(rng), newValue(rng)};
        return v;
    }();
    return inputs;
}

template <std::int32_t (*Calc)(std::int32_t, std::int32_t, int, std::int32_t)>
void Run(benchmark::State& state)
{
    const auto& inputs = Inputs();
    std::size_t i = 0;
    for (auto _ : state) {
        const Input& in = inputs[i++ & (inputs.size() - 1)];
        benchmark::DoNotOptimize(Calc(in.width, in.height, in.index, in.newValue));
    }
}

void BM_AndererWert(benchmark::State& state) { Run<AndererWert>(state); }
void BM_X87Baseline(benchmark::State& state) { Run<reference::AndererWertX87>(state); }

BENCHMARK(BM_AndererWert);
BENCHMARK(BM_X87Baseline);

// Remembers the time per call of each benchmark so main can print the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> nsPerCall;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.iterations > 0)
                nsPerCall[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto own = reporter.nsPerCall.find("BM_AndererWert");
    const auto base = reporter.nsPerCall.find("BM_X87Baseline");
    if (own != reporter.nsPerCall.end() && base != reporter.nsPerCall.end() && base->second > 0) {
        std::printf("AndererWert: %.1f ns per call, %.2f times the x87 path%s\n", own->second,
                    own->second / base->second,
                    reference::X87PathUsable() ? "" : " (no x87 long double here: baseline is not exact)");
    }
    benchmark::Shutdown();
    return 0;
}
