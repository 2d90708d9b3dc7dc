#include "util/IntegerText.h"

#include <limits>

namespace util {

namespace {

int hexDigit(char32_t c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A' + 10);
    return -1;
}

template <typename Char>
std::optional<std::int32_t> parse(std::basic_string_view<Char> s)
{
    std::size_t i = 0;
    while (i < s.size() && s[i] == Char(' '))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == Char('+') || s[i] == Char('-'))) {
        negative = s[i] == Char('-');
        ++i;
    }
    int base = 10;
    if (i < s.size() && (s[i] == Char('$') || s[i] == Char('x') || s[i] == Char('X'))) {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == Char('0') && (s[i + 1] == Char('x') || s[i + 1] == Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i == s.size())
        return std::nullopt;
    // Magnitude limit: 2147483648 for a negative number, 2147483647 otherwise.
    const std::int64_t limit = negative ? std::int64_t{1} << 31 : std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (; i < s.size(); ++i) {
        const int d = hexDigit(static_cast<char32_t>(s[i]));
        if (d < 0 || d >= base)
            return std::nullopt;
        magnitude = magnitude * base + d;
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

} // namespace

std::optional<std::int32_t> ParseIntegerText(std::string_view text) { return parse(text); }
std::optional<std::int32_t> ParseIntegerText(std::u16string_view text) { return parse(text); }

std::int32_t StrToInt(std::string_view utf8Text)
{
    if (const auto v = ParseIntegerText(utf8Text))
        return *v;
    throw EConvertError("'" + std::string(utf8Text) + "' ist kein g\xC3\xBCltiger Integerwert");
}

std::string IntToStr(std::int32_t value) { return std::to_string(value); }

} // namespace util
