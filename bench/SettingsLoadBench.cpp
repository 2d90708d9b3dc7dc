// Loading the settings file, as the program does at start (open the key, read
// the six values, close), for files of 10 kB to 1 MiB in shapes a careless or
// hostile hand could leave behind. The time per byte should stay flat as the
// file grows: the summary at the end shows it per shape, and the run fails
// when the largest file of a shape costs more than twice per byte what
// its smallest does.
#include "settings/FileRegistry.h"
#include "settings/TRegistry.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

enum Shape { HexLines, ManyKeys, ManyValues, KeyDeletions, ValueDeletions, LongText };
constexpr const char* kShapeNames[]
    = {"hex_continuation_lines", "many_keys", "many_values", "key_deletions", "value_deletions", "one_long_text"};

// A file of about `size` bytes (UTF-8) that the reader accepts as a whole.
std::string settingsFile(Shape shape, std::size_t size)
{
    std::string s = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n"
                    "\"FontName\"=\"Arial\"\r\n\"FontSize\"=dword:0000000e\r\n";
    char line[96];
    int n = 0;
    switch (shape) {
    case HexLines:
        s += "\"Bin\"=hex:00";
        while (s.size() < size)
            s += ",01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,18,\\\r\n  19";
        s += "\r\n";
        break;
    case ManyKeys:
        while (s.size() < size) {
            std::snprintf(line, sizeof line, "[HKEY_CURRENT_USER\\Software\\Andere\\K%d]\r\n\"W\"=dword:1\r\n", n++);
            s += line;
        }
        break;
    case ManyValues:
        while (s.size() < size) {
            std::snprintf(line, sizeof line, "\"Wert%d\"=dword:%08x\r\n", n, n);
            ++n;
            s += line;
        }
        break;
    case KeyDeletions:
        // Keys first, then a deletion of each: every deletion faces all keys.
        while (s.size() < size / 2) {
            std::snprintf(line, sizeof line, "[HKEY_CURRENT_USER\\Software\\Andere\\K%d]\r\n", n++);
            s += line;
        }
        for (int k = 0; k < n && s.size() < size; ++k) {
            std::snprintf(line, sizeof line, "[-HKEY_CURRENT_USER\\Software\\Andere\\K%d]\r\n", k);
            s += line;
        }
        break;
    case ValueDeletions:
        while (s.size() < size / 2) {
            std::snprintf(line, sizeof line, "\"Wert%d\"=dword:1\r\n", n++);
            s += line;
        }
        for (int k = 0; k < n && s.size() < size; ++k) {
            std::snprintf(line, sizeof line, "\"Wert%d\"=-\r\n", k);
            s += line;
        }
        break;
    case LongText:
        s += "\"Lang\"=\"";
        s.append(size > s.size() ? size - s.size() : 0, 'x');
        s += "\"\r\n";
        break;
    }
    return s;
}

// Per shape: time per byte of each size, filled as the benchmarks run.
std::map<int, std::map<std::size_t, double>>& perByte()
{
    static std::map<int, std::map<std::size_t, double>> table;
    return table;
}

void BM_SettingsLoad(benchmark::State& state)
{
    const auto shape = static_cast<Shape>(state.range(0));
    const auto size = static_cast<std::size_t>(state.range(1));
    char dirTemplate[] = "/tmp/zarnolith-bench-XXXXXX";
    const fs::path dir = ::mkdtemp(dirTemplate);
    const fs::path file = dir / "Zarnolith.reg";
    const std::string text = settingsFile(shape, size);
    std::ofstream(file, std::ios::binary) << text;

    for (auto _ : state) {
        settings::TRegistry reg(std::make_unique<settings::FileRegistry>(file));
        if (!reg.OpenKey(u"\\Software\\Zarnolith", true)) {
            state.SkipWithError("the file was not read as a whole");
            break;
        }
        benchmark::DoNotOptimize(reg.ReadString(u"FontName"));
        benchmark::DoNotOptimize(reg.ReadInteger(u"FontSize"));
        reg.CloseKey();
    }
    state.SetLabel(kShapeNames[shape]);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["file_bytes"] = static_cast<double>(text.size());
    fs::remove_all(dir);
}

void sizes(benchmark::internal::Benchmark* b)
{
    for (int shape = HexLines; shape <= LongText; ++shape)
        for (std::int64_t size : {10'000, 100'000, 300'000, 1'000'000})
            b->Args({shape, size});
}
BENCHMARK(BM_SettingsLoad)->Apply(sizes)->Unit(benchmark::kMillisecond)->MinTime(0.2);

// Prints each run and keeps its time per byte for the check at the end.
class PerByteReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0)
                continue;
            const std::string name = run.benchmark_name();
            const auto slash = name.find('/');
            const int shape = std::stoi(name.substr(slash + 1));
            const auto bytes = static_cast<std::size_t>(run.counters.at("file_bytes").value);
            // Processor time: the machine running this may be busy with other work.
            const double seconds = run.cpu_accumulated_time / static_cast<double>(run.iterations);
            perByte()[shape][bytes] = seconds * 1e9 / static_cast<double>(bytes);
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    PerByteReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    bool linear = true;
    std::printf("\nLoad processor time per byte (ns) by shape, smallest to largest file:\n");
    for (const auto& [shape, bySize] : perByte()) {
        if (bySize.empty())
            continue;
        std::printf("  %-24s", kShapeNames[shape]);
        for (const auto& [size, ns] : bySize)
            std::printf("  %7zu B: %8.2f", size, ns);
        const double first = bySize.begin()->second, last = bySize.rbegin()->second;
        const bool ok = first > 0 && last <= 2 * first;
        std::printf("  %s\n", ok ? "linear" : "GROWS FASTER THAN THE FILE");
        linear = linear && ok;
    }
    return linear ? 0 : 1;
}
