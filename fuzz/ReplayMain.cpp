// Stand-in for libFuzzer's driver where the compiler has none (GCC builds):
// runs every file named on the command line (or every file in a named
// directory), then a bounded number of random mutations of them, through the
// fuzz target. Used by the test suite for a short, deterministic run.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    std::vector<std::string> inputs;
    long mutations = 200000;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("-runs=", 0) == 0) {
            mutations = std::stol(arg.substr(6));
            continue;
        }
        const std::filesystem::path p(arg);
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(p)) {
            for (const auto& e : std::filesystem::directory_iterator(p))
                if (e.is_regular_file())
                    files.push_back(e.path());
        } else {
            files.push_back(p);
        }
        for (const auto& f : files) {
            std::ifstream in(f, std::ios::binary);
            inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    if (inputs.empty())
        inputs.emplace_back();
    for (const auto& s : inputs)
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());

    // Byte-level mutations: replace, insert, erase, splice; seeded, so a failure repeats.
    std::mt19937_64 rng(20261209);
    for (long n = 0; n < mutations; ++n) {
        std::string s = inputs[rng() % inputs.size()];
        for (int k = 0, edits = 1 + static_cast<int>(rng() % 4); k < edits; ++k) {
            const auto pos = s.empty() ? 0 : rng() % (s.size() + 1);
            const char c = static_cast<char>(rng() % 4 == 0 ? rng() % 256 : " +-$xX0123456789abcdefABCDEF"[rng() % 28]);
            switch (rng() % 4) {
            case 0:
                if (pos < s.size())
                    s[pos] = c;
                break;
            case 1: s.insert(s.begin() + static_cast<long>(pos), c); break;
            case 2:
                if (pos < s.size())
                    s.erase(pos, 1);
                break;
            default: s += inputs[rng() % inputs.size()]; break;
            }
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
    }
    std::printf("%zu inputs and %ld mutations ran without a fault\n", inputs.size(), mutations);
    return 0;
}
