#include "controls/SpinValueRules.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

constexpr std::int32_t Int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Int32Min = std::numeric_limits<std::int32_t>::min();

struct ReadRow {
    std::u16string text;
    std::int32_t expected;
};

class ReadSpinValueTest : public ::testing::TestWithParam<ReadRow> {};

TEST_P(ReadSpinValueTest, ReadsIntegerTextOrMinValueWithoutClamping)
{
    EXPECT_EQ(ReadSpinValue(GetParam().text, 1), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadSpinValueTest,
                         ::testing::Values(ReadRow{u"", 1}, ReadRow{u"0", 0}, ReadRow{u"-5", -5}, ReadRow{u"+7", 7},
                                           ReadRow{u"0012", 12}, ReadRow{u"12,5", 1}, ReadRow{u"1-2", 1},
                                           ReadRow{u"-", 1}, ReadRow{u"  42", 42}, ReadRow{u"42 ", 1},
                                           ReadRow{u"2147483647", Int32Max}, ReadRow{u"2147483648", 1},
                                           ReadRow{u"-2147483648", Int32Min}));

TEST(SpinValueRulesTest, ClampingTakesEqualBoundsAsNoRange)
{
    EXPECT_EQ(ClampForWrite(-7, 5, 5), -7);
    EXPECT_EQ(ClampForWrite(7, 10, 1), 10); // the lower bound is checked first
}

TEST(SpinValueRulesTest, StepsHoldAtTheEndsOfTheIntegerRange)
{
    EXPECT_EQ(SaturatingAdd(Int32Max, 1), Int32Max);
    EXPECT_EQ(SaturatingAdd(Int32Min, -1), Int32Min);
    EXPECT_EQ(SaturatingAdd(10, -1), 9);
}

TEST(SpinValueRulesTest, FilterAcceptsOnlyDigitsSignsSeparatorAndControlCharacters)
{
    for (const char16_t c : std::u16string(u"0123456789+-,\b\x03\x16\x1a\x1b"))
        EXPECT_TRUE(IsAcceptedCharacter(c, u',')) << int(c);
    for (const char16_t c : std::u16string(u"\r. aZ$x\x7f\u00e4\u2212\u0661"))
        EXPECT_FALSE(IsAcceptedCharacter(c, u',')) << int(c);
    // A separator beyond Latin-1 stays refused like every such character.
    EXPECT_FALSE(IsAcceptedCharacter(u'\u066b', u'\u066b'));
}

} // namespace
