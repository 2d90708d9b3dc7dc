// The contrast ratio and the rule that turns a text colour value into the
// colour drawn on a given background.
#include "ui/TextContrast.h"

#include <QPalette>
#include <gtest/gtest.h>

namespace {

const QColor black(0, 0, 0);
const QColor white(255, 255, 255);

// A scheme whose text colours are white, as a dark or high-contrast desktop has them.
QPalette darkScheme()
{
    QPalette p;
    for (const auto role : {QPalette::Text, QPalette::WindowText})
        p.setColor(role, white);
    for (const auto role : {QPalette::Base, QPalette::Window})
        p.setColor(role, QColor(0x30, 0x2f, 0x2e));
    return p;
}

QPalette lightScheme()
{
    QPalette p;
    for (const auto role : {QPalette::Text, QPalette::WindowText})
        p.setColor(role, black);
    for (const auto role : {QPalette::Base, QPalette::Window})
        p.setColor(role, white);
    return p;
}

TEST(ContrastRatio, GivesTheKnownRatiosOfTheSrgbFormula)
{
    EXPECT_DOUBLE_EQ(ContrastRatio(black, white), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(white, black), 21.0) << "the order does not matter";
    EXPECT_DOUBLE_EQ(ContrastRatio(QColor(128, 0, 0), QColor(128, 0, 0)), 1.0);
    EXPECT_DOUBLE_EQ(RelativeLuminance(white), 1.0);
    EXPECT_DOUBLE_EQ(RelativeLuminance(black), 0.0);
    // #767676 is the lightest grey that keeps 4.5:1 on white; #777777 just misses it.
    EXPECT_GE(ContrastRatio(QColor(0x76, 0x76, 0x76), white), 4.5);
    EXPECT_LT(ContrastRatio(QColor(0x77, 0x77, 0x77), white), 4.5);
    // Black text on some of the text backgrounds, as measured on screen.
    EXPECT_NEAR(ContrastRatio(black, QColor(0, 0, 128)), 1.31, 0.005);   // Marineblau
    EXPECT_NEAR(ContrastRatio(black, QColor(128, 0, 0)), 1.92, 0.005);   // Braun
    EXPECT_NEAR(ContrastRatio(black, QColor(128, 0, 128)), 2.23, 0.005); // Purpur
    EXPECT_NEAR(ContrastRatio(black, QColor(0, 0, 255)), 2.44, 0.005);   // Blau
    EXPECT_NEAR(ContrastRatio(black, QColor(0, 128, 0)), 4.09, 0.005);   // Grün
    EXPECT_NEAR(ContrastRatio(black, QColor(0, 128, 128)), 4.40, 0.005); // Blaugrün
}

TEST(ContrastRatio, BlackOrWhiteReachesTheReadableRatioOnEveryColour)
{
    // Over a grid of the whole RGB cube the better of the two never falls below 4.5.
    double worst = 21.0;
    for (int r = 0; r <= 255; r += 15)
        for (int g = 0; g <= 255; g += 15)
            for (int b = 0; b <= 255; b += 15) {
                const QColor bg(r, g, b);
                const QColor fg = StrongestOn(bg);
                ASSERT_TRUE(fg == black || fg == white);
                EXPECT_GE(ContrastRatio(fg, bg), ContrastRatio(fg == black ? white : black, bg));
                worst = std::min(worst, ContrastRatio(fg, bg));
            }
    EXPECT_GE(worst, kReadableTextContrast);
}

TEST(TextColorOn, SystemTextColourIsReplacedWhereItWouldBeUnreadable)
{
    const ColorValue windowText{ColorValue::clWindowText};
    // Light scheme: black text stays on white, turns white on black and on navy.
    EXPECT_EQ(TextColorOn(windowText, white, lightScheme()), black);
    EXPECT_EQ(TextColorOn(windowText, black, lightScheme()), white);
    EXPECT_EQ(TextColorOn(windowText, QColor(0, 0, 128), lightScheme()), white);
    // Dark scheme: white text turns black on white and on yellow, stays white on blue.
    EXPECT_EQ(TextColorOn(windowText, white, darkScheme()), black);
    EXPECT_EQ(TextColorOn(windowText, QColor(255, 255, 0), darkScheme()), black);
    EXPECT_EQ(TextColorOn(windowText, QColor(0, 0, 255), darkScheme()), white);
}

TEST(TextColorOn, SystemColourThatIsReadableIsDrawnAsTheSchemeGivesIt)
{
    QPalette scheme = lightScheme();
    const QColor darkRed(0x80, 0x10, 0x10);
    scheme.setColor(QPalette::Text, darkRed);
    EXPECT_EQ(TextColorOn(ColorValue{ColorValue::clWindowText}, white, scheme), darkRed);
}

TEST(TextColorOn, ChosenColourIsDrawnAsChosenEvenWhenFaint)
{
    // The user's own choice of text colour stands, whatever the background.
    const ColorValue navy{0x00800000};
    EXPECT_EQ(TextColorOn(navy, QColor(0, 0, 128), lightScheme()), QColor(0, 0, 128));
    EXPECT_EQ(TextColorOn(ColorValue{0x00FFFFFF}, white, darkScheme()), white);
}

} // namespace
