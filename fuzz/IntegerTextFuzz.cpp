// Fuzz target for the integer text parse: it must never crash, must agree
// with an independent reading built on std::from_chars, must read UTF-16
// like UTF-8 for the same characters, and its values must survive IntToStr.
#include "util/IntegerText.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::optional<std::int32_t> oracle(std::string_view s)
{
    s.remove_prefix(std::min(s.find_first_not_of(' '), s.size()));
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.starts_with('$') || s.starts_with('x') || s.starts_with('X')) {
        base = 16;
        s.remove_prefix(1);
    } else if (s.starts_with("0x") || s.starts_with("0X")) {
        base = 16;
        s.remove_prefix(2);
    }
    // from_chars would take a sign of its own; the digits must follow directly.
    if (s.empty() || s[0] == '-' || s[0] == '+')
        return std::nullopt;
    std::uint64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
    if (ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    const std::uint64_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
    if (magnitude > limit)
        return std::nullopt;
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(magnitude)
                                              : static_cast<std::int64_t>(magnitude));
}

void check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto value = util::ParseIntegerText(text);
    check(value == oracle(text));

    std::u16string wide;
    for (const unsigned char c : text)
        wide.push_back(c);
    check(util::ParseIntegerText(wide) == value);

    if (value)
        check(util::ParseIntegerText(util::IntToStr(*value)) == value);
    return 0;
}
