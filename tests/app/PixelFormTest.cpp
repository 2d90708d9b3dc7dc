// The start-values dialog with real widgets and keys: its results, the keys the
// fields give up, its layout from the measured font and its placement.
#include "WindowTestSupport.h"

#include "app/PixelLayout.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace windowtest;

namespace {

// Shows the dialog modally, runs `keys` inside it, and returns exec()'s result,
// or -1 when the dialog is still open after them (it is then closed). With
// Closing::Required a dialog the keys leave open fails the test.
int runDialog(const std::function<void()>& keys, Closing closing = Closing::MayStayOpen)
{
    int result = -1;
    const modaltest::Outcome outcome = actInModal<TPixelForm>([&result] { result = PixelForm->exec(); }, keys, closing);
    return outcome.stayedOpen ? -1 : result;
}

QWidget* focused() { return QApplication::focusWidget(); }

struct KeyRow {
    const char* name;
    int key;
    Qt::KeyboardModifiers mods;
    int fieldNo; // 1 width, 2 height
    int expected;
};

class DialogKeys : public ::testing::TestWithParam<KeyRow> {};

// Plain Enter and Esc are the toolkit's: they press the default button and
// cancel before a field sees them. Enter with only Meta or Esc with Shift or
// Meta get past that and end the dialog in the fields' own key handlers.
TEST_P(DialogKeys, EndTheDialogAsTheirButtons)
{
    const KeyRow p = GetParam();
    Windows w;
    const int r = runDialog(
        [&p] {
            TSpinEdit* field = p.fieldNo == 1 ? PixelForm->SpinEdit1 : PixelForm->SpinEdit2;
            field->setFocus();
            QTest::keyClick(field->editor(), static_cast<Qt::Key>(p.key), p.mods);
        },
        p.expected == -1 ? Closing::MayStayOpen : Closing::Required);
    EXPECT_EQ(r, p.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DialogKeys,
    ::testing::Values(KeyRow{"EnterWidth", Qt::Key_Return, Qt::NoModifier, 1, TPixelForm::mrOk},
                      KeyRow{"EnterHeight", Qt::Key_Return, Qt::NoModifier, 2, TPixelForm::mrOk},
                      KeyRow{"KeypadEnter", Qt::Key_Enter, Qt::KeypadModifier, 2, TPixelForm::mrOk},
                      KeyRow{"ShiftEnter", Qt::Key_Return, Qt::ShiftModifier, 1, -1},
                      KeyRow{"EscWidth", Qt::Key_Escape, Qt::NoModifier, 1, TPixelForm::mrCancel},
                      KeyRow{"EscHeight", Qt::Key_Escape, Qt::NoModifier, 2, TPixelForm::mrCancel},
                      KeyRow{"AltK", Qt::Key_K, Qt::AltModifier, 1, TPixelForm::mrOk},
                      KeyRow{"AltA", Qt::Key_A, Qt::AltModifier, 2, TPixelForm::mrCancel},
                      // These reach the fields' handlers.
                      KeyRow{"ShiftEscWidth", Qt::Key_Escape, Qt::ShiftModifier, 1, TPixelForm::mrCancel},
                      KeyRow{"MetaEscHeight", Qt::Key_Escape, Qt::MetaModifier, 2, TPixelForm::mrCancel},
                      KeyRow{"MetaEnterWidth", Qt::Key_Return, Qt::MetaModifier, 1, TPixelForm::mrOk},
                      KeyRow{"MetaEnterHeight", Qt::Key_Return, Qt::MetaModifier, 2, TPixelForm::mrOk},
                      KeyRow{"CtrlEnter", Qt::Key_Return, Qt::ControlModifier, 2, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DialogResult, CloseBoxGivesCancelAndEnterOnAFocusedButtonPressesIt)
{
    Windows w;
    EXPECT_EQ(runDialog([] { PixelForm->close(); }, Closing::Required), TPixelForm::mrCancel);
    EXPECT_EQ(runDialog(
                  [] {
                      PixelForm->Button2->setFocus();
                      QTest::keyClick(PixelForm->Button2, Qt::Key_Return);
                  },
                  Closing::Required),
              TPixelForm::mrCancel);
    EXPECT_TRUE(PixelForm->Button1->isDefault());
}

TEST(DialogFields, CtrlVDoesNothingAtAll)
{
    Windows w;
    int& beeps = w.beep.count;
    QApplication::clipboard()->setText(QStringLiteral("77"));
    int handlerCalls = 0;
    for (TSpinEdit* f : {PixelForm->SpinEdit1, PixelForm->SpinEdit2}) {
        auto down = f->OnKeyDown;
        auto press = f->OnKeyPress;
        // The Ctrl key's own key-down reaches the field as on Windows; the V must not.
        f->OnKeyDown = [&handlerCalls, down](TSpinEdit* s, std::uint16_t& k, Qt::KeyboardModifiers m) {
            handlerCalls += k == 'V';
            down(s, k, m);
        };
        f->OnKeyPress = [&handlerCalls, press](TSpinEdit* s, char16_t& k) {
            handlerCalls += k == 0x16 || k == u'v' || k == u'V';
            press(s, k);
        };
    }
    int triggered = 0;
    QObject::connect(PixelForm->PopupEinfuegen, &QAction::triggered, [&triggered] { ++triggered; });
    QString widthText, heightText;
    runDialog([&] {
        for (TSpinEdit* f : {PixelForm->SpinEdit1, PixelForm->SpinEdit2}) {
            f->setFocus();
            f->editor()->end(false);
            QTest::keyClick(f->editor(), Qt::Key_V, Qt::ControlModifier);
        }
        widthText = PixelForm->SpinEdit1->text();
        heightText = PixelForm->SpinEdit2->text();
    });
    EXPECT_EQ(widthText, QStringLiteral("1"));
    EXPECT_EQ(heightText, QStringLiteral("1"));
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(handlerCalls, 0);
    EXPECT_EQ(triggered, 2) << "the hidden item takes the key";
    EXPECT_FALSE(PixelForm->PopupEinfuegen->isVisible());
    EXPECT_EQ(PixelForm->PopupEinfuegen->text(), QStringLiteral("Einfügen"));
}

TEST(DialogFields, OtherEditingKeysStillWork)
{
    Windows w;
    QApplication::clipboard()->setText(QStringLiteral("9"));
    QString text;
    runDialog([&] {
        TSpinEdit* f = PixelForm->SpinEdit2;
        f->setFocus();
        f->editor()->selectAll();
        QTest::keyClicks(f->editor(), QStringLiteral("25"));
        f->editor()->selectAll();
        QTest::keyClick(f->editor(), Qt::Key_C, Qt::ControlModifier); // copy is not taken
        f->editor()->end(false);
        QTest::keyClick(f->editor(), Qt::Key_Backspace);
        text = f->text() + QLatin1Char('|') + QApplication::clipboard()->text();
    });
    EXPECT_EQ(text, QStringLiteral("2|25"));
}

TEST(DialogFields, ContextMenuRequestOffersNothing)
{
    Windows w;
    bool popupSeen = false;
    runDialog([&] {
        const auto closeAnyPopup = [&popupSeen] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                popupSeen = true;
                popup->close();
            }
        };
        for (TSpinEdit* f : {PixelForm->SpinEdit1, PixelForm->SpinEdit2}) {
            // A menu opened with its own loop is looked for from there, at its loop's first turn.
            bool lookedInsideTheRequest = false;
            QTimer::singleShot(0, [&] {
                closeAnyPopup();
                lookedInsideTheRequest = true;
            });
            QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5), f->editor()->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(f->editor(), &request);
            closeAnyPopup(); // a menu opened without a loop of its own is up by now
            EXPECT_TRUE(QTest::qWaitFor([&] { return lookedInsideTheRequest; }, 5000));
        }
    });
    EXPECT_FALSE(popupSeen);
}

TEST(DialogFocus, EveryOpeningSelectsTheWholeWidthAndTabCycles)
{
    Windows w;
    std::vector<QWidget*> order;
    QString selected;
    runDialog([&] {
        selected = PixelForm->SpinEdit1->editor()->selectedText();
        for (int i = 0; i < 5; ++i) {
            order.push_back(focused());
            QTest::keyClick(focused(), Qt::Key_Tab);
        }
    });
    EXPECT_EQ(selected, QStringLiteral("1"));
    const std::vector<QWidget*> expected = {PixelForm->SpinEdit1->editor(), PixelForm->SpinEdit2->editor(),
                                            PixelForm->Button1, PixelForm->Button2, PixelForm->SpinEdit1->editor()};
    EXPECT_EQ(order, expected);

    // Second opening, seeded with another value: again focused and all selected.
    PixelForm->SpinEdit1->setValue(1234);
    runDialog([&] {
        order = {focused()};
        selected = PixelForm->SpinEdit1->editor()->selectedText();
    });
    EXPECT_EQ(order.front(), PixelForm->SpinEdit1->editor());
    EXPECT_EQ(selected, QStringLiteral("1234"));
}

TEST(DialogFocus, LabelAcceleratorsFocusTheirFields)
{
    Windows w;
    std::vector<QWidget*> got;
    runDialog([&] {
        QTest::keyClick(focused(), Qt::Key_H, Qt::AltModifier);
        got.push_back(focused());
        QTest::keyClick(focused(), Qt::Key_B, Qt::AltModifier);
        got.push_back(focused());
    });
    const std::vector<QWidget*> expected = {PixelForm->SpinEdit2->editor(), PixelForm->SpinEdit1->editor()};
    EXPECT_EQ(got, expected);
    EXPECT_EQ(PixelForm->SpinEdit2->editor()->accessibleName(), QStringLiteral("Bildhöhe:"));
}

class DialogLayout : public ::testing::TestWithParam<int> {};

TEST_P(DialogLayout, EveryRectangleFollowsTheMeasuredFont)
{
    Windows w;
    // A work area the formulas' dialog fits (beyond one it fits itself: FittedLayoutTest).
    w.screenArea.workArea = platform::ScreenRect{0, 0, 8000, 4000};
    w.form->FontDialog1Font.Height = -GetParam();
    PixelForm->SchriftartZuweisen();
    PixelForm->SchalterEinrichten();
    const int L = PixelForm->Label1->height(); // the line height as a label takes it
    const int S = PixelForm->SpinEdit1->height();
    const int A = PixelForm->Label1->width();
    const int B = PixelForm->Label2->width();
    EXPECT_EQ(PixelForm->Label2->height(), L);
    EXPECT_EQ(PixelForm->Label1->size(), PixelForm->Label1->sizeHint());
    EXPECT_EQ(PixelForm->Label1->pos(), QPoint(10, 10 + HalfOf(S - L)));
    // Fields 100 and buttons 125 wide unless the font needs more (checked in LargeFontTest).
    const int F = PixelForm->SpinEdit1->width();
    const int Wb = PixelForm->Button1->width();
    if (GetParam() <= 19) {
        EXPECT_EQ(F, 100);
        EXPECT_EQ(Wb, 125);
    }
    EXPECT_GE(F, 100);
    EXPECT_EQ(PixelForm->Button2->width(), Wb);
    EXPECT_EQ(PixelForm->Label2->pos(), QPoint(25 + F + A, 10 + HalfOf(S - L)));
    EXPECT_EQ(PixelForm->SpinEdit1->geometry(), QRect(15 + A, 10, F, S));
    EXPECT_EQ(PixelForm->SpinEdit2->geometry(), QRect(30 + F + A + B, 10, F, S));
    // Buttons take the size in points, so their line height can differ from the labels' by rounding.
    QLabel buttonLine(QStringLiteral("M"), PixelForm);
    buttonLine.setFont(PixelForm->Button1->font());
    buttonLine.adjustSize();
    const int Lb = buttonLine.height();
    const int clientWidth = 40 + 2 * F + A + B;
    const int left1 = (clientWidth - 2 * Wb) / 3;
    EXPECT_EQ(PixelForm->Button1->geometry(), QRect(left1, S + 20, Wb, Lb + 12));
    EXPECT_EQ(PixelForm->Button2->geometry(), QRect(2 * left1 + Wb, S + 20, Wb, Lb + 12));
    EXPECT_EQ(PixelForm->size(), QSize(clientWidth, S + Lb + 42));
    EXPECT_EQ(PixelForm->minimumSize(), PixelForm->maximumSize()) << "a fixed dialog frame";
}

INSTANTIATE_TEST_SUITE_P(Fonts, DialogLayout, ::testing::Values(19, 13, 72, 90));

TEST(DialogPlacement, FirstShowingCentredOverTheMainWindowLaterOnesByTheScreen)
{
    Windows w;
    w.form->SchriftartZuweisen();
    w.form->move(37, 41);
    QPoint first, second;
    QSize outer;
    runDialog([&] {
        first = PixelForm->frameGeometry().topLeft();
        outer = PixelForm->frameGeometry().size();
    });
    const QRect owner = w.form->frameGeometry();
    const QRect wa = w.form->screen()->availableGeometry();
    EXPECT_EQ(first,
              QPoint(std::max(owner.x() + HalfOf(owner.width() - outer.width()), wa.x()),
                     std::max(owner.y() + HalfOf(owner.height() - outer.height()), wa.y())));

    w.screenArea.screen = platform::ScreenRect{0, 0, 1920, 1080};
    w.screenArea.workArea = w.screenArea.screen; // a work area of that screen
    runDialog([&] { second = PixelForm->frameGeometry().topLeft(); });
    EXPECT_EQ(second, QPoint(HalfOf(1920 - outer.width()) - 1, HalfOf(1080 - outer.height()) - 1));
}

TEST(DialogDisplaySettings, FieldsAndLabelsTakeTheWholeFontButtonsFaceSizeStyle)
{
    Windows w;
    w.form->FontDialog1Font.Name = QStringLiteral("Liberation Sans");
    w.form->FontDialog1Font.Height = -40;
    w.form->FontDialog1Font.Style.underline = true;
    w.form->FontDialog1Font.Color = ColorValue::fromRgb(0, 0, 128);
    AnzeigeHintergrund = ColorValue::fromRgb(0, 255, 0);
    const QColor windowBefore = PixelForm->palette().color(QPalette::Window);
    PixelForm->SchriftartZuweisen();
    QFont expected(QStringLiteral("Liberation Sans"));
    expected.setPixelSize(40);
    expected.setUnderline(true);
    for (QWidget* c :
         std::vector<QWidget*>{PixelForm->Label1, PixelForm->Label2, PixelForm->SpinEdit1, PixelForm->SpinEdit2}) {
        EXPECT_EQ(c->font(), expected);
        EXPECT_EQ(c->palette().color(QPalette::Text), QColor(0, 0, 128));
        EXPECT_EQ(c->palette().color(QPalette::Base), QColor(0, 255, 0));
    }
    EXPECT_EQ(PixelForm->Label1->palette().color(QPalette::Window), QColor(0, 255, 0));
    for (QPushButton* b : {PixelForm->Button1, PixelForm->Button2}) {
        EXPECT_EQ(b->font().family(), expected.family());
        EXPECT_EQ(b->font().pixelSize(), 40);
        EXPECT_TRUE(b->font().underline());
    }
    EXPECT_EQ(PixelForm->palette().color(QPalette::Window), windowBefore);
}

} // namespace
