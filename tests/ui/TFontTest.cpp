// The display font's conversions and the bounds that keep odd stored sizes usable.
#include "ui/ControlAppearance.h"
#include "ui/TFont.h"

#include <QFontInfo>
#include <QPushButton>
#include <gtest/gtest.h>

#include <climits>

namespace {

struct SizeRow {
    int dpi;
    int points;
    int pixelHeight;
};

class PointSize : public ::testing::TestWithParam<SizeRow> {};

TEST_P(PointSize, PointsAndPixelHeightRoundTrip)
{
    TFont f(GetParam().dpi);
    f.setSize(GetParam().points);
    EXPECT_EQ(f.Height, GetParam().pixelHeight);
    EXPECT_EQ(f.Size(), GetParam().points);
}

INSTANTIATE_TEST_SUITE_P(Rows, PointSize,
                         ::testing::Values(SizeRow{96, 14, -19}, SizeRow{96, 8, -11}, SizeRow{96, 72, -96},
                                           SizeRow{96, 200, -267}, SizeRow{120, 14, -23}, SizeRow{144, 10, -20},
                                           SizeRow{96, 0, 0}, SizeRow{96, -14, 19}));

struct LimitRow {
    int points;
    int appliedPixels; // at 96 dpi
};

class AppliedSize : public ::testing::TestWithParam<LimitRow> {};

TEST_P(AppliedSize, StaysWithinSixToFourHundredPoints)
{
    TFont f(96);
    f.setSize(GetParam().points);
    EXPECT_EQ(f.AppliedPixelHeight(), GetParam().appliedPixels);
    EXPECT_EQ(f.toQFont().pixelSize(), GetParam().appliedPixels);
    if (GetParam().points > -1000000 && GetParam().points < 1000000) {
        EXPECT_EQ(f.Size(), GetParam().points) << "the stored size stays as it is";
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, AppliedSize,
                         ::testing::Values(LimitRow{14, 19}, LimitRow{6, 8}, LimitRow{1, 8},
                                           LimitRow{0, 19},   // "default size"
                                           LimitRow{-14, 19}, // a cell height, drawn by its size
                                           LimitRow{400, 533}, LimitRow{401, 533}, LimitRow{100000, 533},
                                           LimitRow{INT_MAX, 533}, LimitRow{INT_MIN, 533}));

TEST(AppliedSize, HugeSizeDoesNotWrapAround)
{
    TFont f(96);
    f.setSize(INT_MAX);
    EXPECT_LT(f.Height, 0) << "a huge size stays a huge negative height";
    f.setSize(INT_MIN);
    EXPECT_GT(f.Height, 0);

    // The largest size the height holds: exact up to it, saturated one beyond.
    for (int dpi : {1, 72, 96, 120, 144, 600}) {
        f.PixelsPerInch = dpi;
        const int largest = f.LargestPoints();
        for (int sign : {1, -1}) {
            f.setSize(sign * largest);
            const long long exact = (static_cast<long long>(largest) * dpi + 36) / 72;
            EXPECT_EQ(f.Height, -sign * exact) << dpi << " not saturated";
            if (largest < INT_MAX) {
                f.setSize(sign * (largest + 1));
                EXPECT_EQ(f.Height, -sign * INT_MAX) << dpi << " saturates one beyond";
            }
        }
    }
}

// A button's font is rebuilt from the size in points: at the display font's
// resolution, or a high-resolution font would shrink on the buttons.
TEST(FontResolution, ButtonsRebuildTheirHeightAtTheFontsResolution)
{
    for (int dpi : {96, 144}) {
        TFont f(dpi);
        f.setSize(10);
        QPushButton button;
        ApplyFaceSizeStyle(button, f);
        EXPECT_EQ(button.font().pixelSize(), f.AppliedPixelHeight()) << dpi;
    }
}

TEST(UnknownFont, GivesAUsableFont)
{
    for (const QString& name : {QStringLiteral("Gibt Es Nicht 12345"), QString(), QString(300, QLatin1Char('Z'))}) {
        TFont f;
        f.Name = name;
        f.setSize(14);
        const QFontInfo info(f.toQFont());
        EXPECT_GT(info.pixelSize(), 0) << name.toStdString();
        EXPECT_FALSE(info.family().isEmpty());
    }
}

} // namespace
