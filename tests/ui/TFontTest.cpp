// The display font's conversions and the bounds that keep odd stored sizes usable.
#include "ui/TFont.h"

#include <QFontInfo>
#include <gtest/gtest.h>

#include <climits>

namespace {

struct GroesseZeile {
    int dpi;
    int punkte;
    int hoehe;
};

class Groesse : public ::testing::TestWithParam<GroesseZeile> {
protected:
    void TearDown() override { TFont::setPixelsPerInchOverride(0); }
};

TEST_P(Groesse, PointsAndPixelHeightRoundTrip)
{
    TFont::setPixelsPerInchOverride(GetParam().dpi);
    TFont f;
    f.setSize(GetParam().punkte);
    EXPECT_EQ(f.Height, GetParam().hoehe);
    EXPECT_EQ(f.Size(), GetParam().punkte);
}

INSTANTIATE_TEST_SUITE_P(Rows, Groesse,
                         ::testing::Values(GroesseZeile{96, 14, -19}, GroesseZeile{96, 8, -11}, GroesseZeile{96, 72, -96},
                                           GroesseZeile{96, 200, -267}, GroesseZeile{120, 14, -23},
                                           GroesseZeile{144, 10, -20}, GroesseZeile{96, 0, 0},
                                           GroesseZeile{96, -14, 19}));

struct GrenzZeile {
    int punkte;
    int angewandtePixel; // at 96 dpi
};

class AngewandteGroesse : public ::testing::TestWithParam<GrenzZeile> {
protected:
    void SetUp() override { TFont::setPixelsPerInchOverride(96); }
    void TearDown() override { TFont::setPixelsPerInchOverride(0); }
};

TEST_P(AngewandteGroesse, StaysWithinSixToFourHundredPoints)
{
    TFont f;
    f.setSize(GetParam().punkte);
    EXPECT_EQ(f.AngewandtePixelHoehe(), GetParam().angewandtePixel);
    EXPECT_EQ(f.toQFont().pixelSize(), GetParam().angewandtePixel);
    if (GetParam().punkte > -1000000 && GetParam().punkte < 1000000) {
        EXPECT_EQ(f.Size(), GetParam().punkte) << "the stored size stays as it is";
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, AngewandteGroesse,
                         ::testing::Values(GrenzZeile{14, 19}, GrenzZeile{6, 8}, GrenzZeile{1, 8},
                                           GrenzZeile{0, 19},       // "default size"
                                           GrenzZeile{-14, 19},     // a cell height, drawn by its size
                                           GrenzZeile{400, 533}, GrenzZeile{401, 533}, GrenzZeile{100000, 533},
                                           GrenzZeile{INT_MAX, 533}, GrenzZeile{INT_MIN, 533}));

TEST(AngewandteGroesse, HugeSizeDoesNotWrapAround)
{
    TFont::setPixelsPerInchOverride(96);
    TFont f;
    f.setSize(INT_MAX);
    EXPECT_LT(f.Height, 0) << "a huge size stays a huge negative height";
    f.setSize(INT_MIN);
    EXPECT_GT(f.Height, 0);

    // The largest size the height holds: exact up to it, saturated one beyond.
    for (int dpi : {1, 72, 96, 120, 144, 600}) {
        TFont::setPixelsPerInchOverride(dpi);
        const int groesste = TFont::GroesstePunkte();
        for (int sign : {1, -1}) {
            f.setSize(sign * groesste);
            const long long genau = (static_cast<long long>(groesste) * dpi + 36) / 72;
            EXPECT_EQ(f.Height, -sign * genau) << dpi << " not saturated";
            if (groesste < INT_MAX) {
                f.setSize(sign * (groesste + 1));
                EXPECT_EQ(f.Height, -sign * INT_MAX) << dpi << " saturates one beyond";
            }
        }
    }
    TFont::setPixelsPerInchOverride(0);
}

TEST(UnbekannteSchrift, GivesAUsableFont)
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
