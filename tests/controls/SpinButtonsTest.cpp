#include "SpinFieldFixture.h"

#include "controls/SpinButtons.h"

#include <QFontMetrics>
#include <QHash>
#include <QImage>

#include "ui/TextContrast.h"

namespace {

class SpinButtonsFieldTest : public SpinFieldFixture {
protected:
    SpinButtons* strip() const { return field->buttons(); }
    QPoint upPoint() const { return {strip()->width() / 2, 1}; }
    QPoint downPoint() const { return {strip()->width() / 2, strip()->height() - 2}; }
    QPoint awayPoint() const { return {strip()->width() / 2, strip()->height() + 40}; }
};

TEST_F(SpinButtonsFieldTest, PressTakesFocusAndReleaseStepsOnce)
{
    setText(QStringLiteral("10"));
    other->setFocus();
    QTest::mousePress(strip(), Qt::LeftButton, {}, upPoint());
    EXPECT_TRUE(field->editor()->hasFocus());
    EXPECT_EQ(field->text(), QStringLiteral("10"));
    EXPECT_TRUE(strip()->showsPressed());
    QTest::mouseRelease(strip(), Qt::LeftButton, {}, upPoint());
    EXPECT_EQ(field->text(), QStringLiteral("11"));
    EXPECT_FALSE(strip()->isRepeating());

    QTest::mouseClick(strip(), Qt::LeftButton, {}, downPoint());
    QTest::mouseClick(strip(), Qt::LeftButton, {}, downPoint());
    EXPECT_EQ(field->text(), QStringLiteral("9"));
    EXPECT_EQ(changes, 3);
}

struct HoldRow {
    int ticks;
    bool releaseOver;
    const char* expected;
};

class SpinHoldTest : public SpinButtonsFieldTest, public ::testing::WithParamInterface<HoldRow> {};

TEST_P(SpinHoldTest, HoldingRepeatsOncePerTickPlusReleaseOverButton)
{
    setText(QStringLiteral("10"));
    QTest::mousePress(strip(), Qt::LeftButton, {}, upPoint());
    // The first repeat comes 400 ms after the press, later ones every 100 ms.
    EXPECT_TRUE(strip()->isRepeating());
    EXPECT_EQ(strip()->repeatInterval(), 400);
    for (int i = 0; i < GetParam().ticks; ++i) {
        strip()->repeatTick();
        EXPECT_EQ(strip()->repeatInterval(), 100);
    }
    QTest::mouseRelease(strip(), Qt::LeftButton, {}, GetParam().releaseOver ? upPoint() : awayPoint());
    EXPECT_EQ(field->text(), QString::fromUtf8(GetParam().expected));
    EXPECT_FALSE(strip()->isRepeating());
    strip()->repeatTick(); // a late tick after the release does nothing
    EXPECT_EQ(field->text(), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, SpinHoldTest,
                         ::testing::Values(HoldRow{0, true, "11"}, HoldRow{0, false, "10"}, HoldRow{1, true, "12"},
                                           HoldRow{3, true, "14"}, HoldRow{3, false, "13"}));

TEST_F(SpinButtonsFieldTest, RepeatPausesWhilePointerIsAway)
{
    setText(QStringLiteral("10"));
    QTest::mousePress(strip(), Qt::LeftButton, {}, downPoint());
    strip()->repeatTick();
    EXPECT_EQ(field->text(), QStringLiteral("9"));
    QTest::mouseMove(strip(), awayPoint());
    EXPECT_FALSE(strip()->showsPressed());
    strip()->repeatTick();
    strip()->repeatTick();
    EXPECT_EQ(field->text(), QStringLiteral("9"));
    QTest::mouseMove(strip(), downPoint());
    EXPECT_TRUE(strip()->showsPressed());
    strip()->repeatTick();
    EXPECT_EQ(field->text(), QStringLiteral("8"));
    QTest::mouseRelease(strip(), Qt::LeftButton, {}, downPoint());
    EXPECT_EQ(field->text(), QStringLiteral("7"));
}

TEST_F(SpinButtonsFieldTest, ReadOnlyButtonsBeepForEveryStep)
{
    setText(QStringLiteral("10"));
    field->setReadOnly(true);
    QTest::mousePress(strip(), Qt::LeftButton, {}, upPoint());
    strip()->repeatTick();
    strip()->repeatTick();
    QTest::mouseRelease(strip(), Qt::LeftButton, {}, upPoint());
    QTest::mouseClick(strip(), Qt::LeftButton, {}, downPoint());
    EXPECT_EQ(beeps, 4);
    EXPECT_EQ(field->text(), QStringLiteral("10"));
    EXPECT_EQ(changes, 0);
}

} // namespace

namespace {

// Columns of the up arrow's button (inside its bevel) that hold a pixel
// standing out from the button face by 3:1: the width of the arrow glyph.
int arrowColumns(const QImage& image)
{
    const int half = image.height() / 2;
    QHash<QRgb, int> count;
    for (int y = 2; y < half - 2; ++y)
        for (int x = 2; x < image.width() - 2; ++x)
            ++count[image.pixel(x, y)];
    QRgb face = 0;
    for (auto it = count.cbegin(); it != count.cend(); ++it)
        if (it.value() > count.value(face, -1))
            face = it.key();
    int columns = 0;
    for (int x = 2; x < image.width() - 2; ++x) {
        bool inked = false;
        for (int y = 2; y < half - 2 && !inked; ++y)
            inked = ContrastRatio(QColor::fromRgb(image.pixel(x, y)), QColor::fromRgb(face)) >= 3.0;
        columns += inked;
    }
    return columns;
}

class ArrowStripTest : public SpinButtonsFieldTest, public ::testing::WithParamInterface<int> {};

// Beside a small font the strip keeps its 15 pixels; beside a large one it
// grows with the font, so the arrows stay targets a hand can hit and glyphs an
// eye can see, and the text still ends before them.
TEST_P(ArrowStripTest, ArrowsGrowWithTheFontAndTextEndsBeforeThem)
{
    const int pixels = GetParam();
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixels);
    field->setFont(font);
    const int line = QFontMetrics(font).height();
    field->resize(8 * line, field->height());
    setText(QStringLiteral("99999"));

    const int width = strip()->width();
    if (line < 23) {
        EXPECT_EQ(width, SpinButtons::StripWidth);
    } else {
        EXPECT_GE(width, 2 * line / 3 - 1) << "line height " << line;
    }
    if (pixels >= 64) {
        EXPECT_GE(width, 24) << "a target of at least 24 pixels";
    }
    EXPECT_GE(strip()->height(), field->height() / 2);
    EXPECT_LE(strip()->geometry().right(), field->editor()->width() - 1);

    // The text area: where the caret can go at the end of the text.
    field->editor()->end(false);
    EXPECT_LE(field->editor()->inputMethodQuery(Qt::ImCursorRectangle).toRect().right(), strip()->x())
        << "the text ends before the arrows";

    // The arrow glyph takes a good part of its button, not a fixed few pixels.
    const QImage image = strip()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int inked = arrowColumns(image);
    EXPECT_GE(inked, width / 3) << "arrow " << inked << " of " << width << " pixels wide";
}

// 19 pixels is the display font's default 14 points at 96 dpi; 64 and 96 are 48 and 72 points.
INSTANTIATE_TEST_SUITE_P(Sizes, ArrowStripTest, ::testing::Values(12, 19, 64, 96));

} // namespace
