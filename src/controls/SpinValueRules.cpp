#include "controls/SpinValueRules.h"

#include "util/IntegerText.h"

#include <limits>

std::int32_t ReadSpinValue(std::u16string_view text, std::int32_t minValue)
{
    return util::ParseIntegerText(text).value_or(minValue);
}

std::int32_t ClampForWrite(std::int32_t v, std::int32_t minValue, std::int32_t maxValue)
{
    if (minValue == maxValue)
        return v;
    if (v < minValue)
        return minValue;
    if (v > maxValue)
        return maxValue;
    return v;
}

std::int32_t SaturatingAdd(std::int32_t value, std::int32_t delta)
{
    const std::int64_t sum = std::int64_t{value} + delta;
    if (sum > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (sum < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(sum);
}

bool IsAcceptedCharacter(char16_t c, char16_t decimalSeparator)
{
    if (c >= u'0' && c <= u'9')
        return true;
    if (c == u'+' || c == u'-')
        return true;
    if (c == decimalSeparator && c <= 255)
        return true;
    return c < 32 && c != 13;
}
