// The main window with real widgets and real input: the first start, the
// calculation wiring, the layout from the measured font, the display settings.
#include "WindowTestSupport.h"

#include "app/MainLayout.h"
#include "instance/Messages.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <gtest/gtest.h>

using namespace windowtest;

namespace {

// ---- First start -----------------------------------------------------------

TEST(FirstStart, DialogOpensByItselfShowingOneAndOneAndCancelChangesNothing)
{
    Windows w;
    int shown = 0;
    QString width, height;
    // The window's showing opens the dialog by itself, after it returns.
    ASSERT_TRUE(actInModal<TPixelForm>([&] { w.form->show(); },
                                       [&](TPixelForm& d) {
                                           ++shown;
                                           width = d.SpinEdit1->text();
                                           height = d.SpinEdit2->text();
                                           QTest::mouseClick(d.Button2, Qt::LeftButton);
                                       })
                    .shown);
    QTest::qWait(50); // the timer must not open it a second time
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(w.form->Timer1->isActive());
    EXPECT_EQ(width, QStringLiteral("1"));
    EXPECT_EQ(height, QStringLiteral("1"));
    EXPECT_EQ(PixelForm->result(), TPixelForm::mrCancel);

    for (QLineEdit* e : {w.form->Edit1, w.form->Edit2})
        EXPECT_EQ(e->text(), QStringLiteral("0"));
    for (TSpinEdit* s : {w.form->SpinEdit1, w.form->SpinEdit2}) {
        EXPECT_EQ(s->text(), QStringLiteral("0"));
        EXPECT_TRUE(s->ReadOnly());
        EXPECT_FALSE(s->OnChange);
        EXPECT_EQ(s->MinValue(), 0);
    }
}

// A close request before the dialog is due (an outside 1124 right at the
// start) ends the program: the dialog must not open over the closed window and
// keep it running.
TEST(FirstStart, CloseBeforeTheDialogIsDueKeepsTheDialogClosed)
{
    Windows w;
    bool opened = false;
    QTimer guard; // ends a dialog that opens anyway, so the test cannot hang in it
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (PixelForm->isVisible()) {
            opened = true;
            PixelForm->reject();
        }
    });
    guard.start(1);
    w.form->show();
    w.form->Message(instance::WM_BEENDEN);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.form->Timer1->isActive(); }, 5000));
    EXPECT_FALSE(opened);
    EXPECT_FALSE(w.form->isVisible());
}

TEST(FirstStart, ConfirmingFillsTheFieldsAndFocusesTheNewWidth)
{
    Windows w;
    ASSERT_TRUE(actInModal<TPixelForm>([&] { w.form->show(); },
                                       [](TPixelForm& d) {
                                           overtype(d.SpinEdit1, QStringLiteral("1024"));
                                           overtype(d.SpinEdit2, QStringLiteral("768"));
                                           QTest::mouseClick(d.Button1, Qt::LeftButton);
                                       })
                    .shown);
    QTest::qWait(10);
    EXPECT_EQ(w.form->Edit1->text(), QStringLiteral("1024"));
    EXPECT_EQ(w.form->Edit2->text(), QStringLiteral("768"));
    EXPECT_EQ(w.form->SpinEdit1->text(), QStringLiteral("1024"));
    EXPECT_EQ(w.form->SpinEdit2->text(), QStringLiteral("768"));
    EXPECT_TRUE(w.form->Edit1->isReadOnly());
    for (TSpinEdit* s : {w.form->SpinEdit1, w.form->SpinEdit2}) {
        EXPECT_FALSE(s->ReadOnly());
        EXPECT_EQ(s->MinValue(), 1);
        EXPECT_TRUE(s->OnChange);
    }
    EXPECT_EQ(w.form->focusWidget(), w.form->SpinEdit1->editor());
    EXPECT_EQ(w.form->SpinEdit1->editor()->selectedText(), QStringLiteral("1024"));
}

TEST(NewStartValues, ConfirmingRunsNoCalculation)
{
    // With start values 53 x 1 a calculation from the height would show 52 as
    // the width, so a write with the handler attached would be seen.
    Windows w;
    ASSERT_EQ(enterStartValues(*w.form, QStringLiteral("1024"), QStringLiteral("768")), TPixelForm::mrOk);
    ASSERT_EQ(enterStartValues(*w.form, QStringLiteral("53"), QStringLiteral("1")), TPixelForm::mrOk);
    EXPECT_EQ(w.form->SpinEdit1->text(), QStringLiteral("53"));
    EXPECT_EQ(w.form->SpinEdit2->text(), QStringLiteral("1"));
}

TEST(NewStartValues, DialogIsSeededFromTheStartFieldsAndOutOfRangeValuesAreRaised)
{
    Windows w;
    ASSERT_EQ(enterStartValues(*w.form, QStringLiteral("640"), QStringLiteral("480")), TPixelForm::mrOk);
    QString seeded;
    actInModal<TPixelForm>([&] { w.form->MenuDateiNeuClick(); },
                           [&](TPixelForm& d) {
                               seeded = d.SpinEdit1->text() + QLatin1Char('x') + d.SpinEdit2->text();
                               overtype(d.SpinEdit1, QStringLiteral("0"));
                               overtype(d.SpinEdit2, QStringLiteral("-")); // a sign alone is no number
                               QTest::keyClick(d.SpinEdit2->editor(), Qt::Key_Return);
                           });
    EXPECT_EQ(seeded, QStringLiteral("640x480"));
    // A typed 0 and a text that is no number both become the minimum 1.
    EXPECT_EQ(w.form->Edit1->text(), QStringLiteral("1"));
    EXPECT_EQ(w.form->Edit2->text(), QStringLiteral("1"));
}

TEST(NewStartValues, CancelLaterKeepsEverythingAndTheCalculationWorks)
{
    Windows w;
    ASSERT_EQ(enterStartValues(*w.form, QStringLiteral("1024"), QStringLiteral("768")), TPixelForm::mrOk);
    actInModal<TPixelForm>([&] { w.form->MenuDateiNeuClick(); },
                           [](TPixelForm& d) {
                               overtype(d.SpinEdit1, QStringLiteral("5"));
                               QTest::keyClick(d.SpinEdit1->editor(), Qt::Key_Escape);
                           });
    EXPECT_EQ(PixelForm->result(), TPixelForm::mrCancel);
    EXPECT_EQ(w.form->Edit1->text(), QStringLiteral("1024"));
    overtype(w.form->SpinEdit1, QStringLiteral("800"));
    EXPECT_EQ(w.form->SpinEdit2->text(), QStringLiteral("600"));
}

TEST(NewStartValues, ButtonCtrlNAndAltNOpenTheDialog)
{
    Windows w;
    // The start-up dialog first, cancelled.
    ASSERT_TRUE(actInModal<TPixelForm>([&] { w.form->show(); }, [](TPixelForm& d) { d.reject(); }).shown);

    int opened = 0;
    const auto openAndCancel = [&](const std::function<void()>& how) {
        // Shortcuts reach the active window only; the closed dialog leaves none behind offscreen.
        QApplication::setActiveWindow(w.form.get());
        actInModal<TPixelForm>(how, [&](TPixelForm& d) {
            ++opened;
            QTest::keyClick(d.focusWidget(), Qt::Key_Escape);
        });
    };
    openAndCancel([&] { QTest::mouseClick(w.form->Button1, Qt::LeftButton); });
    EXPECT_EQ(opened, 1);
    openAndCancel([&] { QTest::keyClick(w.form.get(), Qt::Key_N, Qt::ControlModifier); });
    EXPECT_EQ(opened, 2);
    openAndCancel([&] { QTest::keyClick(w.form.get(), Qt::Key_N, Qt::AltModifier); }); // the button's accelerator
    EXPECT_EQ(opened, 3);
}

// ---- Calculation wiring -----------------------------------------------------

struct TypingRow {
    const char* width;
    const char* height;
    int field; // 1 new width, 2 new height
    const char* typed;
    std::vector<const char*> otherShows; // after each keystroke
};

class Typing : public ::testing::TestWithParam<TypingRow> {};

TEST_P(Typing, EveryKeystrokeComputesTheOtherField)
{
    const TypingRow p = GetParam();
    Windows w;
    ASSERT_EQ(enterStartValues(*w.form, QString::fromLatin1(p.width), QString::fromLatin1(p.height)), TPixelForm::mrOk);
    TSpinEdit* field = p.field == 1 ? w.form->SpinEdit1 : w.form->SpinEdit2;
    TSpinEdit* other = p.field == 1 ? w.form->SpinEdit2 : w.form->SpinEdit1;
    field->editor()->selectAll();
    const QString typed = QString::fromLatin1(p.typed);
    std::vector<QString> seen;
    for (QChar c : typed) {
        QTest::keyClicks(field->editor(), QString(c));
        seen.push_back(other->text());
    }
    ASSERT_EQ(seen.size(), p.otherShows.size());
    for (std::size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(seen[i], QString::fromLatin1(p.otherShows[i])) << "after keystroke " << i + 1;
    EXPECT_EQ(field->text(), typed) << "the handler never changes its own field";
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, Typing,
    ::testing::Values(TypingRow{"1920", "1080", 1, "800", {"4", "45", "449"}},
                      TypingRow{"1920", "1080", 2, "720", {"12", "128", "1280"}}, TypingRow{"3", "3", 1, "5", {"4"}},
                      TypingRow{"1024", "768", 2, "600", {"8", "80", "800"}},
                      // "-" is no number, -2 gives -1 which shows as 1.
                      TypingRow{"1024", "768", 1, "-2", {"768", "1"}},
                      // A typed -1 is ignored: the height keeps the value of "-".
                      TypingRow{"1024", "768", 1, "-1", {"768", "768"}}, TypingRow{"1024", "768", 1, "1", {"1"}},
                      TypingRow{"1024", "768", 1, "0", {"1"}},
                      // 999890001 at the end, clamped to the field's maximum.
                      TypingRow{"1", "9999", 1, "99999", {"89991", "99999", "99999", "99999", "99999"}}));

TEST(Calculation, DeletingTheTextKeepsTheOtherValue)
{
    Windows w;
    ASSERT_EQ(enterStartValues(*w.form, QStringLiteral("1920"), QStringLiteral("1080")), TPixelForm::mrOk);
    overtype(w.form->SpinEdit1, QStringLiteral("800"));
    ASSERT_EQ(w.form->SpinEdit2->text(), QStringLiteral("449"));
    w.form->SpinEdit1->editor()->selectAll();
    QTest::keyClick(w.form->SpinEdit1->editor(), Qt::Key_Delete);
    EXPECT_EQ(w.form->SpinEdit1->text(), QString());
    EXPECT_EQ(w.form->SpinEdit2->text(), QStringLiteral("449"));
}

TEST(Calculation, AlwaysStartsFromTheStartValuesNotFromTheOtherField)
{
    Windows w;
    ASSERT_EQ(enterStartValues(*w.form, QStringLiteral("1920"), QStringLiteral("1080")), TPixelForm::mrOk);
    overtype(w.form->SpinEdit2, QStringLiteral("450"));
    EXPECT_EQ(w.form->SpinEdit1->text(), QStringLiteral("799"));
    overtype(w.form->SpinEdit1, QStringLiteral("1000"));
    EXPECT_EQ(w.form->SpinEdit2->text(), QStringLiteral("562"));
    EXPECT_EQ(w.form->Wert(1), 1000);
    EXPECT_EQ(w.form->Startwert(1), 1920);
    EXPECT_EQ(w.form->Startwert(0), 1080);
    EXPECT_EQ(w.form->Startwert(2), 1080);
}

// The menu bar taking the keyboard (Alt alone, or Alt and a menu's letter) is no
// move to another control: a value out of range stays as typed until Tab.
class MenuKeyboardMode : public ::testing::TestWithParam<Qt::Key> {};

TEST_P(MenuKeyboardMode, LeavesAnOutOfRangeValueUntilTheFocusMovesOn)
{
    Windows w;
    ASSERT_EQ(enterStartValues(*w.form, QStringLiteral("1024"), QStringLiteral("768")), TPixelForm::mrOk);
    TForm1& f = *w.form;
    // From here on no dialog belongs to the test: one that opens would hold the waits below in its loop.
    const modaltest::NoModalWindow noDialog;
    f.show();
    f.Timer1->stop(); // the start values are in: no start-up dialog over this window
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    f.SpinEdit2->editor()->setFocus(Qt::TabFocusReason);
    overtype(f.SpinEdit2, QStringLiteral("600"));
    ASSERT_EQ(f.SpinEdit1->text(), QStringLiteral("800"));
    f.SpinEdit1->editor()->setFocus(Qt::TabFocusReason);
    overtype(f.SpinEdit1, QStringLiteral("-1"));
    ASSERT_EQ(f.SpinEdit2->text(), QStringLiteral("600"));

    QMenu* settingsFile = f.findChild<QMenu*>(QStringLiteral("MenuDatei"));
    ASSERT_TRUE(settingsFile);
    if (GetParam() == Qt::Key_Alt) {
        QTest::keyClick(f.SpinEdit1->editor(), Qt::Key_Alt);
        ASSERT_TRUE(QTest::qWaitFor([&] { return f.menuBar()->hasFocus(); }, 2000)) << "menu bar not in keyboard mode";
    } else {
        QTest::keyClick(f.SpinEdit1->editor(), GetParam(), Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return settingsFile->isVisible(); }, 2000));
    }
    EXPECT_EQ(f.SpinEdit1->text(), QStringLiteral("-1"));
    EXPECT_EQ(f.SpinEdit2->text(), QStringLiteral("600"));

    // Esc until the field has the keyboard back (the open menu first, then the bar).
    for (int i = 0; i < 3 && QApplication::focusWidget() != f.SpinEdit1->editor(); ++i) {
        QWidget* target = settingsFile->isVisible() ? static_cast<QWidget*>(settingsFile) : f.menuBar();
        QTest::keyClick(target, Qt::Key_Escape);
        // The menu closes at once or the bar keeps the keyboard: the loop's focus check decides.
        (void)QTest::qWaitFor([&] { return !settingsFile->isVisible(); }, 1000);
    }
    ASSERT_EQ(QApplication::focusWidget(), f.SpinEdit1->editor());
    EXPECT_EQ(f.SpinEdit1->text(), QStringLiteral("-1"));
    EXPECT_EQ(f.SpinEdit2->text(), QStringLiteral("600"));

    QTest::keyClick(f.SpinEdit1->editor(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.SpinEdit2->editor());
    EXPECT_EQ(f.SpinEdit1->text(), QStringLiteral("1")) << "moving on to the next field corrects";
    EXPECT_EQ(f.SpinEdit2->text(), QStringLiteral("1"));
}

INSTANTIATE_TEST_SUITE_P(Keys, MenuKeyboardMode, ::testing::Values(Qt::Key_Alt, Qt::Key_D),
                         [](const auto& info) { return info.param == Qt::Key_Alt ? "Alt" : "AltD"; });

// ---- Captions, menu, status ------------------------------------------------

TEST(Captions, StatusAndMenuShowTheProgramsShortcutTexts)
{
    Windows w;
    TForm1& f = *w.form;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Zarnolith V1.01"));
    EXPECT_EQ(f.StatusPanel->text(), QStringLiteral("Mit Strg+N können die Bildpixel-Startwerte geändert werden"));
    EXPECT_EQ(f.StatusPanel->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_FALSE(f.StatusBar1->isSizeGripEnabled());
    // The shortcut texts beside the captions: ScreenReader.MenuItemsNameTheCommandAndBindTheShortcut.
    EXPECT_EQ(f.MenuDateiNeu->text(), QStringLiteral("&Neue Bildpixel-Startwerte..."));
    EXPECT_EQ(f.MenuDateiBeenden->text(), QStringLiteral("&Beenden"));
    EXPECT_EQ(f.MenuDateiNeu->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(f.MenuDateiBeenden->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F4));
}

TEST(Captions, FieldsAreNamedByTheirLabelsAndReachedByTab)
{
    Windows w;
    TForm1& f = *w.form;
    EXPECT_EQ(f.Label1->buddy(), f.Edit1);
    EXPECT_EQ(f.Label4->buddy(), f.SpinEdit2);
    EXPECT_EQ(f.Edit2->accessibleName(), QStringLiteral("Startwert-Bildhöhe:"));
    EXPECT_EQ(f.SpinEdit1->editor()->accessibleName(), QStringLiteral("Neue Bildbreite:"));
    EXPECT_EQ(f.Button1->accessibleName(), QStringLiteral("Neue Startwerte..."));
    EXPECT_EQ(f.SpinEdit1->Tag(), 1);
    EXPECT_EQ(f.SpinEdit2->Tag(), 2);

    f.SchriftartZuweisen();
    f.Timer1->stop();
    f.show();
    f.Timer1->stop(); // this test is about the main window alone
    QApplication::setActiveWindow(&f);
    f.Edit1->setFocus();
    std::vector<QWidget*> order;
    for (int i = 0; i < 5; ++i) {
        order.push_back(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const std::vector<QWidget*> expected = {f.Edit1, f.Edit2, f.SpinEdit1->editor(), f.SpinEdit2->editor(), f.Button1};
    EXPECT_EQ(order, expected);
}

TEST(Beenden, ClosesTheMainWindow)
{
    Windows w;
    w.form->SchriftartZuweisen();
    w.form->show();
    w.form->Timer1->stop();
    ASSERT_TRUE(w.form->isVisible());
    w.form->MenuDateiBeenden->trigger();
    EXPECT_FALSE(w.form->isVisible());
}

// ---- Layout from the measured font -------------------------------------------

class MainWindowLayout : public ::testing::TestWithParam<int> {};

TEST_P(MainWindowLayout, EveryRectangleFollowsTheMeasuredFont)
{
    Windows w;
    // A work area the formulas' window fits (beyond one it fits itself: FittedLayoutTest).
    w.screenArea.workArea = platform::ScreenRect{0, 0, 8000, 4000};
    TForm1& f = *w.form;
    f.FontDialog1Font.Height = -GetParam();
    f.SchriftartZuweisen();

    QFont lineFont(f.FontDialog1Font.Name);
    lineFont.setPixelSize(GetParam()); // a negative height is the size in pixels
    QLabel probe(QStringLiteral("M"));
    probe.setFont(lineFont);
    probe.adjustSize();
    const int L = probe.height(); // the line height as an auto-sizing label takes it
    const int S = f.SpinEdit1->height();
    const int A = std::max(f.Label1->width(), f.Label3->width());
    const int B = std::max(f.Label2->width(), f.Label4->width());
    for (QLabel* l : {f.Label1, f.Label2, f.Label3, f.Label4}) {
        EXPECT_EQ(l->height(), L);
        EXPECT_EQ(l->size(), l->sizeHint()) << "labels size themselves to their caption";
    }
    EXPECT_EQ(f.Edit1->height(), L + 8);
    EXPECT_EQ(f.Edit2->height(), L + 8);
    EXPECT_EQ(f.SpinEdit2->height(), S);

    // Fields 100 wide and the button 187 unless the font needs more (checked in LargeFontTest).
    const int F = f.Edit1->width();
    const int Wb = f.Button1->width();
    if (GetParam() <= 19) {
        EXPECT_EQ(F, 100);
    }
    if (GetParam() <= 13) {
        EXPECT_EQ(Wb, 187); // "Neue Startwerte..." already needs more at 19 pixels
    }
    EXPECT_GE(F, 100);
    EXPECT_GE(Wb, 187);
    EXPECT_EQ(f.Edit1->geometry(), QRect(15 + A, 10, F, L + 8));
    EXPECT_EQ(f.Edit2->geometry(), QRect(30 + F + A + B, 10, F, L + 8));
    EXPECT_EQ(f.SpinEdit1->geometry(), QRect(15 + A, L + 28, F, S));
    EXPECT_EQ(f.SpinEdit2->geometry(), QRect(30 + F + A + B, L + 28, F, S));
    EXPECT_EQ(f.Label1->pos(), QPoint(10, 14));
    EXPECT_EQ(f.Label2->pos(), QPoint(25 + F + A, 14));
    EXPECT_EQ(f.Label3->pos(), QPoint(10, L + 28 + HalfOf(S - L)));
    EXPECT_EQ(f.Label4->pos(), QPoint(25 + F + A, L + 28 + HalfOf(S - L)));
    // The button takes the size in points, so its line height Lb may differ from L by rounding.
    QLabel buttonLine(QStringLiteral("M"));
    buttonLine.setFont(f.Button1->font());
    const int Lb = buttonLine.sizeHint().height();
    // The client is as wide as the grid, or as the status hint where that is wider.
    const int gridWidth = 40 + 2 * F + A + B;
    if (GetParam() <= 19) {
        EXPECT_GE(gridWidth, f.StatusBar1->sizeHint().width());
    }
    const QSize client(std::max(gridWidth, f.StatusBar1->sizeHint().width()), 2 * L + Lb + S + 66);
    EXPECT_EQ(f.Button1->geometry(), QRect(HalfOf(client.width() - Wb), L + S + 38, Wb, Lb + 12));
    EXPECT_EQ(f.centralWidget()->size(), client);
    EXPECT_EQ(f.StatusBar1->geometry(), QRect(0, client.height() - (L + 6), client.width(), L + 6));

    // The outer size is fixed by the layout: client plus menu bar.
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
    EXPECT_EQ(f.size().height(), client.height() + f.menuBar()->height());
    EXPECT_EQ(f.size().width(), client.width());
}

INSTANTIATE_TEST_SUITE_P(Fonts, MainWindowLayout, ::testing::Values(19, 13, 72, 90));

TEST(MainWindowPlacement, CentredInTheWorkAreaOrAtItsCornerWhenMaximised)
{
    Windows w;
    TForm1& f = *w.form;
    w.screenArea.workArea = platform::ScreenRect{40, 30, 1000, 700};
    f.SchriftartZuweisen();
    const QRect frame = f.frameGeometry();
    EXPECT_EQ(frame.topLeft(), QPoint(40 + HalfOf(1000 - frame.width()), 30 + HalfOf(700 - frame.height())));

    // Narrower than the window: the window fits the work area (it scrolls) and
    // lies inside it, rather than sticking out on both sides.
    w.screenArea.workArea = platform::ScreenRect{0, 0, 200, 100};
    f.SchriftartZuweisen();
    EXPECT_TRUE(QRect(0, 0, 200, 100).contains(f.frameGeometry()))
        << f.frameGeometry().x() << "," << f.frameGeometry().y() << " " << f.frameGeometry().width() << "x"
        << f.frameGeometry().height();

    f.setWindowState(Qt::WindowMaximized);
    w.screenArea.workArea = platform::ScreenRect{60, 25, 1000, 700};
    f.SchalterEinrichten();
    EXPECT_EQ(f.frameGeometry().topLeft(), QPoint(60, 25));
}

// A new font or background lays a maximised window out again inside it: it
// stays maximised where it is, and gets the new layout's size when restored.
TEST(MainWindowPlacement, AMaximisedWindowStaysMaximisedWhenTheFontOrBackgroundChanges)
{
    Windows w;
    TForm1& f = *w.form;
    f.show();
    f.Timer1->stop();
    f.showMaximized();
    const QRect available = f.screen()->availableGeometry();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.isMaximized() && f.frameGeometry() == available; }, 5000))
        << "maximised to " << f.frameGeometry().width() << "x" << f.frameGeometry().height();
    f.FontDialog1Font.setSize(20);
    f.setHintergrundNr(f.HintergrundNr()); // as the font command applies a new font
    QApplication::processEvents();
    EXPECT_TRUE(f.isMaximized());
    EXPECT_EQ(f.frameGeometry(), available);
    f.setHintergrundNr(5); // a new background
    QApplication::processEvents();
    EXPECT_TRUE(f.isMaximized());
    EXPECT_EQ(f.frameGeometry(), available);
    EXPECT_EQ(f.Label1->font().pixelSize(), -f.FontDialog1Font.Height);

    f.showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.isMaximized(); }, 5000));
    QApplication::processEvents();
    EXPECT_EQ(f.minimumSize(), f.maximumSize()) << "the fixed size of the layout again";
    EXPECT_EQ(f.centralWidget()->width(), std::max(f.Edit2->x() + f.Edit2->width() + 10, f.StatusBar1->width()));
    // Restored, it is placed as the layouts it missed would have placed it:
    // centred in the work area, all of it inside.
    const auto centred = [&] {
        const QRect r = f.frameGeometry();
        return QPoint(available.x() + HalfOf(available.width() - r.width()),
                      available.y() + HalfOf(available.height() - r.height()));
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.frameGeometry().topLeft() == centred(); }, 5000))
        << "restored at " << f.frameGeometry().x() << "," << f.frameGeometry().y() << " " << f.frameGeometry().width()
        << "x" << f.frameGeometry().height();
    EXPECT_TRUE(available.contains(f.frameGeometry()));

    // Moved by the user, maximised and restored again with no new layout in
    // between: back where it was.
    f.move(available.topLeft() + QPoint(7, 9));
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.frameGeometry().topLeft() == available.topLeft() + QPoint(7, 9); }));
    const QRect before = f.frameGeometry();
    f.showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.isMaximized() && f.frameGeometry() == available; }, 5000));
    f.showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.isMaximized(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.frameGeometry() == before; }, 5000))
        << "restored at " << f.frameGeometry().x() << "," << f.frameGeometry().y();
}

TEST(MainWindowPlacement, ShownAlreadyLaidOutAndCentredOnTheScreen)
{
    Windows w;
    TForm1& f = *w.form;
    f.show();
    f.Timer1->stop();
    const QRect wa = f.screen()->availableGeometry();
    const QRect frame = f.frameGeometry();
    EXPECT_GT(f.Edit2->x(), f.Edit1->x() + 100);
    EXPECT_EQ(frame.topLeft(),
              QPoint(std::max(wa.x() + HalfOf(wa.width() - frame.width()), 0),
                     std::max(wa.y() + HalfOf(wa.height() - frame.height()), 0)));
}

// ---- Display settings --------------------------------------------------------

TEST(DisplaySettings, WholeFontForTextControlsFaceSizeStyleForTheButton)
{
    Windows w;
    TForm1& f = *w.form;
    const QColor buttonTextBefore = f.Button1->palette().color(QPalette::ButtonText);
    const QColor windowBefore = f.palette().color(QPalette::Window);

    f.FontDialog1Font.Name = QStringLiteral("Liberation Serif");
    f.FontDialog1Font.Height = -27;
    f.FontDialog1Font.Color = ColorValue::fromRgb(200, 0, 0);
    f.FontDialog1Font.Style.bold = true;
    f.FontDialog1Font.Style.italic = true;
    AnzeigeHintergrund = ColorValue::fromRgb(255, 255, 0);
    f.SchriftartZuweisen();

    QFont expected(QStringLiteral("Liberation Serif"));
    expected.setPixelSize(27);
    expected.setBold(true);
    expected.setItalic(true);
    const QColor yellow(255, 255, 0);
    const QColor red(200, 0, 0);
    for (QWidget* c : std::vector<QWidget*>{f.Label1, f.Label2, f.Label3, f.Label4, f.StatusBar1}) {
        EXPECT_EQ(c->font(), expected) << c->objectName().toStdString();
        EXPECT_EQ(c->palette().color(QPalette::Window), yellow) << c->objectName().toStdString();
        EXPECT_EQ(c->palette().color(QPalette::WindowText), red) << c->objectName().toStdString();
        EXPECT_TRUE(c->autoFillBackground()) << c->objectName().toStdString();
    }
    for (QWidget* c : std::vector<QWidget*>{f.Edit1, f.Edit2, f.SpinEdit1, f.SpinEdit2}) {
        EXPECT_EQ(c->font(), expected) << c->objectName().toStdString();
        EXPECT_EQ(c->palette().color(QPalette::Base), yellow) << c->objectName().toStdString();
        EXPECT_EQ(c->palette().color(QPalette::Text), red) << c->objectName().toStdString();
    }
    EXPECT_EQ(f.StatusPanel->font(), expected);

    const QFont b = f.Button1->font();
    EXPECT_EQ(b.family(), expected.family());
    EXPECT_EQ(b.pixelSize(), 27);
    EXPECT_TRUE(b.bold());
    EXPECT_TRUE(b.italic());
    EXPECT_EQ(f.Button1->palette().color(QPalette::ButtonText), buttonTextBefore);
    EXPECT_EQ(f.palette().color(QPalette::Window), windowBefore) << "the window itself keeps its colour";
}

} // namespace
