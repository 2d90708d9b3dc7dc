#include "controls/SpinValueRules.h"
#include "controls/VirtualKey.h"
#include "controls/VirtualKeyMapping.h"

#include <gtest/gtest.h>

#include <Qt>
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
    EXPECT_EQ(controls::ReadSpinValue(GetParam().text, 1), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadSpinValueTest,
    ::testing::Values(ReadRow{u"", 1}, ReadRow{u"0", 0}, ReadRow{u"-5", -5}, ReadRow{u"+7", 7},
                      ReadRow{u"0012", 12}, ReadRow{u"12,5", 1}, ReadRow{u"1-2", 1}, ReadRow{u"-", 1},
                      ReadRow{u"  42", 42}, ReadRow{u"42 ", 1}, ReadRow{u"99999", 99999},
                      ReadRow{u"2147483647", Int32Max}, ReadRow{u"2147483648", 1},
                      ReadRow{u"-2147483648", Int32Min}));

struct ClampRow {
    std::int32_t v, min, max, expected;
};

class ClampForWriteTest : public ::testing::TestWithParam<ClampRow> {};

TEST_P(ClampForWriteTest, ClampsUnlessBoundsAreEqual)
{
    const ClampRow r = GetParam();
    EXPECT_EQ(controls::ClampForWrite(r.v, r.min, r.max), r.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, ClampForWriteTest,
    ::testing::Values(ClampRow{0, 1, 9999, 1}, ClampRow{12345, 1, 9999, 9999}, ClampRow{500, 1, 9999, 500},
                      ClampRow{-7, 5, 5, -7}, ClampRow{123456, 5, 5, 123456},
                      // An inverted range: below-min wins, as the write rule orders the checks.
                      ClampRow{7, 10, 1, 10}, ClampRow{0, 0, 0, 0}));

TEST(SaturatingAddTest, HoldsAtTheEndsOfTheRange)
{
    EXPECT_EQ(controls::SaturatingAdd(Int32Max, 1), Int32Max);
    EXPECT_EQ(controls::SaturatingAdd(Int32Min, -1), Int32Min);
    EXPECT_EQ(controls::SaturatingAdd(Int32Max - 1, 1), Int32Max);
    EXPECT_EQ(controls::SaturatingAdd(10, -1), 9);
}

struct CharRow {
    char16_t c;
    bool accepted;
};

class CharacterFilterTest : public ::testing::TestWithParam<CharRow> {};

TEST_P(CharacterFilterTest, AcceptsDigitsSignsSeparatorAndControlCharacters)
{
    EXPECT_EQ(controls::IsAcceptedCharacter(GetParam().c, u','), GetParam().accepted) << int(GetParam().c);
}

INSTANTIATE_TEST_SUITE_P(Characters, CharacterFilterTest,
    ::testing::Values(CharRow{u'0', true}, CharRow{u'9', true}, CharRow{u'+', true}, CharRow{u'-', true},
                      CharRow{u',', true}, CharRow{8, true}, CharRow{3, true}, CharRow{22, true},
                      CharRow{26, true}, CharRow{27, true}, CharRow{0, true}, CharRow{13, false},
                      CharRow{u'.', false}, CharRow{u' ', false}, CharRow{u'a', false}, CharRow{u'Z', false},
                      CharRow{u'$', false}, CharRow{u'x', false}, CharRow{127, false},
                      CharRow{u'\u00e4', false}, CharRow{u'\u2212', false}, CharRow{u'\u0661', false}));

TEST(CharacterFilterTest, SeparatorAboveLatin1IsRefused)
{
    EXPECT_FALSE(controls::IsAcceptedCharacter(u'\u066b', u'\u066b'));
    EXPECT_TRUE(controls::IsAcceptedCharacter(u'.', u'.'));
}

struct KeyRow {
    int qtKey;
    std::uint16_t vk;
};

class VirtualKeyMappingTest : public ::testing::TestWithParam<KeyRow> {};

TEST_P(VirtualKeyMappingTest, MapsQtKeysToWindowsCodes)
{
    EXPECT_EQ(controls::VirtualKeyFromQtKey(GetParam().qtKey), GetParam().vk);
}

INSTANTIATE_TEST_SUITE_P(Keys, VirtualKeyMappingTest,
    ::testing::Values(KeyRow{Qt::Key_Return, vk::Return}, KeyRow{Qt::Key_Enter, vk::Return},
                      KeyRow{Qt::Key_Escape, vk::Escape}, KeyRow{Qt::Key_Up, vk::Up}, KeyRow{Qt::Key_Down, vk::Down},
                      KeyRow{Qt::Key_Left, vk::Left}, KeyRow{Qt::Key_Delete, vk::Delete},
                      KeyRow{Qt::Key_Backspace, vk::Back}, KeyRow{Qt::Key_A, 'A'}, KeyRow{Qt::Key_V, 'V'},
                      KeyRow{Qt::Key_0, '0'}, KeyRow{Qt::Key_9, '9'}, KeyRow{Qt::Key_F4, 115},
                      KeyRow{Qt::Key_Home, vk::Home}, KeyRow{Qt::Key_unknown, 0}));

} // namespace
