#include "SpinFieldFixture.h"

#include "controls/SpinButtons.h"

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
