// Text measurement: control heights by kind and caption widths, from the font's real metrics.
#include "ui/TFont.h"
#include "ui/TextMeasure.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <gtest/gtest.h>

namespace {

QFont fontOfHeight(int pixels)
{
    TFont f;
    f.Height = -pixels;
    return f.toQFont();
}

class HeightByKind : public ::testing::TestWithParam<int> {};

TEST_P(HeightByKind, LineHeightPlusTheKindsAllowance)
{
    const QFont font = fontOfHeight(GetParam());
    // H as the windows' own labels take it: a child label sized to one line "M".
    QWidget parent;
    QLabel line(QStringLiteral("M"), &parent);
    line.setFont(font);
    line.adjustSize();
    const int H = line.height();
    EXPECT_GE(H, QFontMetrics(font).height()) << "at least the font's line height";
    QLineEdit edit;
    QPushButton button;
    QStatusBar bar;
    QListWidget list;
    QLabel label;
    EXPECT_EQ(HoeheFuerSchrift(font, edit), H + 8);
    EXPECT_EQ(HoeheFuerSchrift(font, button), H + 12);
    EXPECT_EQ(HoeheFuerSchrift(font, bar), H + 6);
    EXPECT_EQ(HoeheFuerSchrift(font, list), H);
    EXPECT_EQ(HoeheFuerSchrift(font, label), H);
    EXPECT_EQ(LabelLineHeight(font), H);
}

INSTANTIATE_TEST_SUITE_P(Fonts, HeightByKind, ::testing::Values(10, 19, 60, 200));

TEST(HoeheFuerSchrift, SubclassesCountAsTheirKindAndNothingIsChanged)
{
    struct MyEdit : QLineEdit {};
    const QFont font = fontOfHeight(19);
    const QFont before = font;
    MyEdit edit;
    const QFont editFontBefore = edit.font();
    EXPECT_EQ(HoeheFuerSchrift(font, edit), HoeheFuerSchrift(font, QLabel()) + 8);
    EXPECT_EQ(font, before);
    EXPECT_EQ(edit.font(), editFontBefore);
}

TEST(BreiteFuerText, OneBlankWiderThanTheText)
{
    const QFont font = fontOfHeight(19);
    QLabel blank(QStringLiteral(" "));
    blank.setFont(font);
    const int blankWidth = blank.sizeHint().width();
    EXPECT_EQ(BreiteFuerText(font, QString()), blankWidth);
    const QFontMetrics fm(font);
    for (const QString& text : {QStringLiteral("Weiß"), QStringLiteral("Startwert-Bildbreite:")})
        EXPECT_EQ(BreiteFuerText(font, text), fm.horizontalAdvance(text + QLatin1Char(' '))) << text.toStdString();
}

TEST(BreiteFuerText, LongCaptionInHugeFontIsNotCutToTheScreen)
{
    // A parentless label that sizes itself as a window is limited to 2/3 of the
    // screen; the measurement must give the caption's full width regardless.
    const QFont font = fontOfHeight(120);
    const QString text = QStringLiteral("Schrifthintergrund wählen und bestätigen");
    EXPECT_EQ(BreiteFuerText(font, text), QFontMetrics(font).horizontalAdvance(text + QLatin1Char(' ')));
}

} // namespace
