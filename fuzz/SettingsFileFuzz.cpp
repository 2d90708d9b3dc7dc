// Fuzz target for the settings-file reader: any bytes must either be refused
// or read as a document that writes back and reads again to the same keys and
// values (nothing lost or altered on the way through a save).
#include "platform/RegDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool sameDocument(const platform::RegDocument& a, const platform::RegDocument& b)
{
    if (a.keys.size() != b.keys.size())
        return false;
    for (std::size_t k = 0; k < a.keys.size(); ++k) {
        const auto& ka = a.keys[k];
        const auto& kb = b.keys[k];
        if (ka.path != kb.path || ka.values.size() != kb.values.size())
            return false;
        for (std::size_t v = 0; v < ka.values.size(); ++v)
            if (ka.values[v].name != kb.values[v].name || ka.values[v].type != kb.values[v].type
                || ka.values[v].data != kb.values[v].data)
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto doc = platform::RegDocument::parse({data, size});
    if (!doc)
        return 0;
    const auto bytes = doc->serialize();
    const auto again = platform::RegDocument::parse(bytes);
    if (!again || !sameDocument(*doc, *again) || again->serialize() != bytes)
        std::abort();
    return 0;
}
