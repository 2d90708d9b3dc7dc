#include "platform/CommandLineToArgv.h"

namespace platform {

std::vector<std::string> CommandLineToArgv(std::string_view text)
{
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false; // a quote alone ("") still makes an (empty) argument
    bool quoted = false;
    std::size_t i = 0;
    const std::size_t n = text.size();

    while (i < n) {
        const char c = text[i];
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inArgument) {
                args.push_back(std::move(current));
                current.clear();
                inArgument = false;
            }
            ++i;
            continue;
        }
        inArgument = true;
        if (c == '\\') {
            std::size_t count = 0;
            while (i < n && text[i] == '\\') {
                ++count;
                ++i;
            }
            if (i < n && text[i] == '"') {
                current.append(count / 2, '\\');
                if (count % 2 == 1) {
                    current.push_back('"');
                    ++i;
                }
                // an even count leaves the quote to the grouping rule below
            } else {
                current.append(count, '\\');
            }
            continue;
        }
        if (c == '"') {
            ++i;
            if (quoted && i < n && text[i] == '"') {
                current.push_back('"');
                ++i;
                quoted = false;
            } else {
                quoted = !quoted;
            }
            continue;
        }
        current.push_back(c);
        ++i;
    }
    if (inArgument)
        args.push_back(std::move(current));
    return args;
}

} // namespace platform
