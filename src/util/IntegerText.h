#pragma once
// The program's one integer syntax: optional leading blanks, an optional sign,
// then decimal digits, or hexadecimal digits after "$", "x" or "0x" (x in
// either case); nothing may follow. Values must fit a signed 32-bit integer;
// this holds for hexadecimal too, so "$80000000" is no integer text.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace util {

// The value of an integer text, or nothing when the text is none.
std::optional<std::int32_t> ParseIntegerText(std::string_view text);
std::optional<std::int32_t> ParseIntegerText(std::u16string_view text);

// The runtime's conversion error: "'%s' ist kein gültiger Integerwert".
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const std::string& utf8Message) : std::runtime_error(utf8Message) {}
};

// Strict read: the value, or EConvertError naming the text (UTF-8 in, UTF-8 message).
std::int32_t StrToInt(std::string_view utf8Text);

// Decimal text of a value: minus sign for negatives, no leading zeros, no grouping.
std::string IntToStr(std::int32_t value);

} // namespace util
