// Fuzz target for the settings-file reader: any bytes must either be refused
// or read as a document that writes back and reads again to the same keys,
// values and comments (nothing lost or altered on the way through a save).
// The same holds for what the salvaging reader makes of a damaged file, and
// it accepts whatever the strict reader accepts, with the same result.
#include "settings/RegDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

bool sameDocument(const settings::RegDocument& a, const settings::RegDocument& b)
{
    if (a.keys.size() != b.keys.size())
        return false;
    for (std::size_t k = 0; k < a.keys.size(); ++k) {
        const auto& ka = a.keys[k];
        const auto& kb = b.keys[k];
        if (ka.path != kb.path || ka.values.size() != kb.values.size() || ka.comments != kb.comments)
            return false;
        for (std::size_t v = 0; v < ka.values.size(); ++v)
            if (ka.values[v].name != kb.values[v].name || ka.values[v].type != kb.values[v].type
                || ka.values[v].data != kb.values[v].data || ka.values[v].comments != kb.values[v].comments)
                return false;
    }
    return a.trailingComments == b.trailingComments;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto doc = settings::RegDocument::parse({data, size});
    std::vector<settings::RegDocument::Problem> problems;
    const auto salvaged = settings::RegDocument::parseSalvaging({data, size}, &problems);
    if (doc && (!salvaged || !problems.empty() || !sameDocument(*doc, *salvaged)))
        std::abort();
    if (!salvaged)
        return 0;
    const auto bytes = salvaged->serialize();
    const auto again = settings::RegDocument::parse(bytes);
    if (!again || !sameDocument(*salvaged, *again) || again->serialize() != bytes)
        std::abort();
    return 0;
}
