#include "util/IntegerText.h"

#include <gtest/gtest.h>

#include <climits>

using util::ParseIntegerText;

struct IntegerTextRow {
    const char* text;
    std::optional<std::int32_t> expected;
};

class IntegerTextTest : public ::testing::TestWithParam<IntegerTextRow> {};

TEST_P(IntegerTextTest, Parses)
{
    const auto& row = GetParam();
    EXPECT_EQ(ParseIntegerText(std::string_view(row.text)), row.expected) << '"' << row.text << '"';
    const std::string s(row.text);
    EXPECT_EQ(ParseIntegerText(std::u16string(s.begin(), s.end())), row.expected) << "UTF-16: " << row.text;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IntegerTextTest,
    ::testing::Values(
        IntegerTextRow{"0", 0}, IntegerTextRow{"0012", 12}, IntegerTextRow{"+7", 7}, IntegerTextRow{"-5", -5},
        IntegerTextRow{"   42", 42}, IntegerTextRow{"42 ", std::nullopt}, IntegerTextRow{"", std::nullopt},
        IntegerTextRow{"-", std::nullopt}, IntegerTextRow{"+", std::nullopt}, IntegerTextRow{"12,5", std::nullopt},
        IntegerTextRow{"1-2", std::nullopt}, IntegerTextRow{"\t1", std::nullopt}, IntegerTextRow{"- 1", std::nullopt},
        IntegerTextRow{"2147483647", INT_MAX}, IntegerTextRow{"2147483648", std::nullopt},
        IntegerTextRow{"-2147483648", INT_MIN}, IntegerTextRow{"-2147483649", std::nullopt},
        IntegerTextRow{"99999999999999999999", std::nullopt}, IntegerTextRow{"$1F", 31}, IntegerTextRow{"x1f", 31},
        IntegerTextRow{"X1F", 31}, IntegerTextRow{"0x1F", 31}, IntegerTextRow{"0X10", 16}, IntegerTextRow{"-$10", -16},
        IntegerTextRow{" +0x7FFFFFFF", INT_MAX}, IntegerTextRow{"$", std::nullopt}, IntegerTextRow{"0x", std::nullopt},
        IntegerTextRow{"$G", std::nullopt}, IntegerTextRow{"12a", std::nullopt}, IntegerTextRow{"0x1F ", std::nullopt},
        // Hexadecimal beyond the signed range is no integer text (not wrapped round to a negative number).
        IntegerTextRow{"$80000000", std::nullopt}, IntegerTextRow{"$FFFFFFFF", std::nullopt},
        IntegerTextRow{"-$80000000", INT_MIN}));

TEST(StrToInt, RaisesTheConversionErrorNamingTheText)
{
    EXPECT_EQ(util::StrToInt("1920"), 1920);
    try {
        util::StrToInt("12,5");
        FAIL() << "no error raised";
    } catch (const util::EConvertError& e) {
        EXPECT_STREQ(e.what(), "'12,5' ist kein g\xC3\xBCltiger Integerwert");
    }
}
