#pragma once
// The spin field's value rules, kept apart from the widget so they can be
// checked without one.
#include <cstdint>
#include <string_view>

// The value a text reads as: its integer, or minValue when it is no integer text. Never clamps.
std::int32_t ReadSpinValue(std::u16string_view text, std::int32_t minValue);

// The value a write stores: clamped into minValue..maxValue, unless the two are equal.
std::int32_t ClampForWrite(std::int32_t v, std::int32_t minValue, std::int32_t maxValue);

// value + delta, held at the ends of the 32-bit range instead of wrapping round
// (a step up from 2147483647 must not turn into a negative number).
std::int32_t SaturatingAdd(std::int32_t value, std::int32_t delta);

// Whether the character filter lets a typed character through: digits, + and -,
// the regional decimal separator and control characters except carriage return.
bool IsAcceptedCharacter(char16_t c, char16_t decimalSeparator);
