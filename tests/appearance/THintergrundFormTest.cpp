// The text-background dialog with real widgets and real key and mouse events.
#include "appearance/THintergrundForm.h"

#include "appearance/ColorTable.h"
#include "appearance/TListBox.h"
#include "support/ModalLoop.h"
#include "support/PlatformStandIns.h"
#include "ui/TextMeasure.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>

namespace {

QString name(int i) { return QString::fromStdU16String(std::u16string(FarbNamen[i])); }

TEST(ColorTable, NamesAndValuesInTableOrder)
{
    const std::pair<const char*, std::uint32_t> expectedNames[]
        = {{"Schwarz", 0x000000},    {"Weiß", 0xFFFFFF},       {"Gelb", 0x00FFFF},     {"Blau", 0xFF0000},
           {"Marineblau", 0x800000}, {"Himmelblau", 0xF0CAA6}, {"Blaugrün", 0x808000}, {"Grün", 0x008000},
           {"Minzgrün", 0xC0DCC0},   {"Gelbgrün", 0x00FF00},   {"Olivgrün", 0x008080}, {"Grau", 0x808080},
           {"Dunkelgrau", 0x808080}, {"Hellgrau", 0xC0C0C0},   {"Rot", 0x0000FF},      {"Purpur", 0x800080},
           {"Lila", 0xFF00FF},       {"Silber", 0xC0C0C0},     {"Braun", 0x000080}};
    THintergrundForm form(nullptr, 125, 10);
    ASSERT_EQ(form.ListBox1->count(), ColorCount);
    for (int i = 0; i < ColorCount; ++i) {
        EXPECT_EQ(name(i), QString::fromUtf8(expectedNames[i].first)) << i;
        EXPECT_EQ(FarbWerte[i], expectedNames[i].second) << i;
        EXPECT_EQ(form.ListBox1->item(i)->text(), name(i)) << "list position = table index";
    }
    // Red is in the lowest byte: "Braun" is red 128.
    EXPECT_EQ(ColorValue{FarbWerte[18]}.toQColor(), QColor(128, 0, 0));
}

struct NrRow {
    int written;
    int readNr;
    std::uint32_t color;
};

class HintergrundNr : public ::testing::TestWithParam<NrRow> {};

TEST_P(HintergrundNr, OutOfRangeSelectsBlack)
{
    THintergrundForm form(nullptr, 125, 10);
    form.setHintergrundNr(7);
    form.setHintergrundNr(GetParam().written);
    EXPECT_EQ(form.HintergrundNr(), GetParam().readNr);
    EXPECT_EQ(form.HintergrundFarbe().raw, GetParam().color);
}

INSTANTIATE_TEST_SUITE_P(Rows, HintergrundNr,
                         ::testing::Values(NrRow{19, 0, 0}, NrRow{-1, 0, 0}, NrRow{25, 0, 0}, NrRow{18, 18, 0x80},
                                           NrRow{1, 1, 0xFFFFFF}, NrRow{11, 11, 0x808080}, NrRow{12, 12, 0x808080},
                                           NrRow{13, 13, 0xC0C0C0}, NrRow{17, 17, 0xC0C0C0}));

// Runs the dialog modally; the action runs once it is up and active (shortcuts
// need an active window). A dialog that stays open fails the test instead of hanging it.
int modal(THintergrundForm& form, const std::function<void()>& step, bool moveMouse = true)
{
    int outcome = -1;
    modaltest::actInModal<THintergrundForm>([&] { outcome = form.exec(); },
                                            [&] {
                                                if (moveMouse) {
                                                    QTest::keyClick(form.ListBox1, Qt::Key_Down);
                                                    QTest::keyClick(form.ListBox1, Qt::Key_Down);
                                                }
                                                step();
                                            });
    return outcome;
}

struct Leaving {
    const char* description;
    std::function<void(THintergrundForm&)> act;
    int outcome;
    int after; // index after starting at 3 and moving down twice
};

class LeavingTheDialog : public ::testing::TestWithParam<Leaving> {};

TEST_P(LeavingTheDialog, CancelByAnyWayRestoresOkKeeps)
{
    QWidget owner;
    owner.setGeometry(100, 100, 600, 500);
    THintergrundForm form(&owner, 125, 10);
    form.setHintergrundNr(3);
    EXPECT_EQ(modal(form, [&] { GetParam().act(form); }), GetParam().outcome) << GetParam().description;
    EXPECT_EQ(form.HintergrundNr(), GetParam().after) << GetParam().description;
    EXPECT_FALSE(form.isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LeavingTheDialog,
    ::testing::Values(
        Leaving{"Esc", [](THintergrundForm& f) { QTest::keyClick(f.ListBox1, Qt::Key_Escape); }, 2, 3},
        Leaving{"Abbrechen", [](THintergrundForm& f) { QTest::mouseClick(f.Button2, Qt::LeftButton); }, 2, 3},
        Leaving{"Alt+A", [](THintergrundForm& f) { QTest::keyClick(&f, Qt::Key_A, Qt::AltModifier); }, 2, 3},
        Leaving{"close box", [](THintergrundForm& f) { f.close(); }, 2, 3},
        Leaving{"window system close (Alt+F4)", [](THintergrundForm& f) { f.windowHandle()->close(); }, 2, 3},
        Leaving{"Enter", [](THintergrundForm& f) { QTest::keyClick(f.ListBox1, Qt::Key_Return); }, 1, 5},
        Leaving{"OK", [](THintergrundForm& f) { QTest::mouseClick(f.Button1, Qt::LeftButton); }, 1, 5},
        Leaving{"Alt+K", [](THintergrundForm& f) { QTest::keyClick(&f, Qt::Key_K, Qt::AltModifier); }, 1, 5}));

TEST(HintergrundForm, ShowingFocusesTheListAndRemembersTheSelection)
{
    THintergrundForm form(nullptr, 125, 10);
    form.setHintergrundNr(9);
    QWidget* focus = nullptr;
    modal(form, [&] {
        focus = form.focusWidget();
        form.reject();
    });
    EXPECT_EQ(focus, form.ListBox1);
    EXPECT_EQ(form.MerkItemIndex, 9);
}

TEST(HintergrundForm, UserCannotClearTheSelection)
{
    THintergrundForm form(nullptr, 125, 10);
    form.setHintergrundNr(2);
    form.show();
    QWidget* viewport = form.ListBox1->viewport();
    const QRect line = form.ListBox1->visualItemRect(form.ListBox1->item(2));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, line.center());
    EXPECT_EQ(form.HintergrundNr(), 2) << "Ctrl+click on the selected entry";
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(5, viewport->height() - 3));
    EXPECT_EQ(form.HintergrundNr(), 2) << "click below the last entry";
    QTest::mouseClick(viewport, Qt::LeftButton, {}, form.ListBox1->visualItemRect(form.ListBox1->item(4)).center());
    EXPECT_EQ(form.HintergrundNr(), 4) << "a click on another entry moves it";
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, form.ListBox1->visualItemRect(form.ListBox1->item(6)).center());
    EXPECT_EQ(form.HintergrundNr(), 6);
    EXPECT_TRUE(form.isVisible()) << "a double-click only selects";
}

class Arrangement : public ::testing::TestWithParam<int> {};

TEST_P(Arrangement, ButtonsFromAbbrechenListTwentyLinesMarginsAround)
{
    TFont displayFont;
    displayFont.Name = QStringLiteral("Liberation Sans");
    displayFont.setSize(GetParam());
    // A work area the formulas' dialog fits (beyond one it fits itself: HintergrundLayoutTest).
    standin::FixedScreenArea screenArea;
    screenArea.workArea = platform::ScreenRect{0, 0, 8000, 4000};
    THintergrundForm form(nullptr, 125, 10, screenArea);
    form.SchriftartZuweisen(displayFont, ColorValue{0x00FFFFFF});
    form.setRand(10); // runs the layout

    const QFont f = form.Button1->font();
    const int W = BreiteFuerText(f, QStringLiteral("AbbrechenMM"));
    const int L = HoeheFuerSchrift(f, *form.ListBox1);
    const int R = 10;
    EXPECT_EQ(form.Button1->geometry(), QRect(R, 2 * R + 20 * L, W, L + 12));
    EXPECT_EQ(form.Button2->geometry(), QRect(2 * R + W, 2 * R + 20 * L, W, L + 12));
    EXPECT_EQ(form.ListBox1->geometry(), QRect(R, R, 2 * W + R, 20 * L));
    EXPECT_EQ(form.size(), QSize(3 * R + 2 * W, 3 * R + 21 * L + 12));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "not sizable";

    form.setBtnWidth(999);
    EXPECT_EQ(form.Button1->width(), W) << "BtnWidth has no visible effect";
}

INSTANTIATE_TEST_SUITE_P(Sizes, Arrangement, ::testing::Values(8, 14, 40));

TEST(HintergrundForm, ListTakesBackgroundAndWholeFontButtonsOnlyFaceSizeStyle)
{
    TFont displayFont;
    displayFont.Name = QStringLiteral("Liberation Serif");
    displayFont.setSize(20);
    displayFont.Style.italic = true;
    displayFont.Color.raw = 0x000000FF; // red text
    THintergrundForm form(nullptr, 125, 10);
    const QColor buttonTextBefore = form.Button1->palette().color(QPalette::ButtonText);
    form.SchriftartZuweisen(displayFont, ColorValue{FarbWerte[2]});

    EXPECT_EQ(form.ListBox1->palette().color(QPalette::Base), QColor(255, 255, 0));
    EXPECT_EQ(form.ListBox1->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(form.ListBox1->font().family(), QStringLiteral("Liberation Serif"));
    EXPECT_TRUE(form.ListBox1->font().italic());
    for (QPushButton* b : {form.Button1, form.Button2}) {
        EXPECT_EQ(b->font().family(), QStringLiteral("Liberation Serif"));
        EXPECT_EQ(b->font().pixelSize(), displayFont.AppliedPixelHeight());
        EXPECT_TRUE(b->font().italic());
        EXPECT_EQ(b->palette().color(QPalette::ButtonText), buttonTextBefore) << "the button's text colour stays";
    }
    EXPECT_NE(form.palette().color(QPalette::Window), QColor(255, 255, 0)) << "the dialog itself keeps its colour";
}

TEST(HintergrundForm, CentredOverTheOwnerFirstThenPlacedOnTheScreen)
{
    const QRect targetScreen = QGuiApplication::primaryScreen()->geometry();
    QWidget owner;
    owner.setGeometry(targetScreen.x() + 40, targetScreen.y() + 30, 700, 600);
    owner.show();
    THintergrundForm form(&owner, 125, 10);
    form.setHintergrundNr(1);

    QPoint first, second;
    modal(form, [&] {
        first = form.frameGeometry().topLeft();
        form.reject();
    });
    modal(form, [&] {
        second = form.frameGeometry().topLeft();
        form.reject();
    });

    const QSize outerLayout = form.frameGeometry().size();
    const QRect o = owner.frameGeometry();
    const QRect workArea = owner.screen()->availableGeometry();
    EXPECT_EQ(first,
              QPoint(std::max(o.x() + (o.width() - outerLayout.width()) / 2, workArea.left()),
                     std::max(o.y() + (o.height() - outerLayout.height()) / 2, workArea.top())));
    EXPECT_EQ(second,
              QPoint(targetScreen.x() + std::max((targetScreen.width() - outerLayout.width()) / 2 - 1, 0),
                     targetScreen.y() + std::max((targetScreen.height() - outerLayout.height()) / 2 - 1, 0)));
}

} // namespace
