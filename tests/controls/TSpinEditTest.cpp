#include "SpinFieldFixture.h"

#include "controls/SpinButtons.h"
#include "controls/VirtualKey.h"
#include "ui/ControlAppearance.h"
#include "ui/TFont.h"
#include "ui/TextMeasure.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>

#include <optional>
#include <vector>

namespace {

// ---- Value: reading and writing ----------------------------------------------------

struct WriteRow {
    int min, max, start, written;
    const char* expectedText;
    int expectedChanges;
};

class SpinWriteTest : public SpinFieldFixture, public ::testing::WithParamInterface<WriteRow> {};

TEST_P(SpinWriteTest, WriteClampsAndNotifiesOnlyRealChanges)
{
    const WriteRow r = GetParam();
    field->setMinValue(r.min);
    field->setMaxValue(r.max);
    setText(QString::number(r.start));
    field->setValue(r.written);
    EXPECT_EQ(field->text(), QString::fromUtf8(r.expectedText));
    EXPECT_EQ(changes, r.expectedChanges);
}

INSTANTIATE_TEST_SUITE_P(Rows, SpinWriteTest,
                         ::testing::Values(WriteRow{1, 9999, 5, 0, "1", 1}, WriteRow{1, 9999, 5, 12345, "9999", 1},
                                           WriteRow{1, 9999, 1, 1, "1", 0}, WriteRow{1, 9999, 5, 42, "42", 1},
                                           WriteRow{1, 9999, 5, -3, "1", 1}, WriteRow{5, 5, 5, -7, "-7", 1},
                                           WriteRow{5, 5, 5, 123456, "123456", 1}, WriteRow{0, 99999, 0, 0, "0", 0}));

TEST_F(SpinFieldFixture, NewFieldShowsZeroAndBoundChangesKeepText)
{
    TSpinEdit fresh;
    EXPECT_EQ(fresh.text(), QStringLiteral("0"));
    EXPECT_EQ(fresh.Increment(), 1);

    setText(QStringLiteral("0"));
    field->setMinValue(0);
    field->setMinValue(1); // as the main window does once start values exist
    EXPECT_EQ(field->text(), QStringLiteral("0"));
    EXPECT_EQ(field->Value(), 0); // reading never clamps
    setText(QStringLiteral("12,5"));
    EXPECT_EQ(field->Value(), 1);
    EXPECT_EQ(field->text(), QStringLiteral("12,5"));
    EXPECT_EQ(changes, 0);
}

TEST_F(SpinFieldFixture, ProgramWriteIsNotCutByMaxLength)
{
    field->setMinValue(5);
    field->setMaxValue(5);
    field->setMaxLength(2);
    field->setValue(-2147483647);
    EXPECT_EQ(field->text(), QStringLiteral("-2147483647"));
    // Deleting from such a text works although it is longer than the limit.
    field->editor()->end(false);
    QTest::keyClick(field->editor(), Qt::Key_Backspace);
    EXPECT_EQ(field->text(), QStringLiteral("-214748364"));
}

// ---- Stepping ----------------------------------------------------------------------

struct StepRow {
    const char* start;
    Qt::Key key;
    const char* expected;
    int expectedChanges;
};

class SpinStepTest : public SpinFieldFixture, public ::testing::WithParamInterface<StepRow> {};

TEST_P(SpinStepTest, UpAndDownKeysStepAndStayAtBounds)
{
    setText(QString::fromUtf8(GetParam().start));
    QTest::keyClick(field->editor(), GetParam().key);
    EXPECT_EQ(field->text(), QString::fromUtf8(GetParam().expected));
    EXPECT_EQ(changes, GetParam().expectedChanges);
    EXPECT_EQ(beeps, 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, SpinStepTest,
                         ::testing::Values(StepRow{"", Qt::Key_Up, "2", 1}, StepRow{"", Qt::Key_Down, "1", 1},
                                           StepRow{"1", Qt::Key_Down, "1", 0}, StepRow{"9999", Qt::Key_Up, "9999", 0},
                                           StepRow{"10", Qt::Key_Up, "11", 1}, StepRow{"10", Qt::Key_Down, "9", 1},
                                           StepRow{"0", Qt::Key_Up, "1", 1}, StepRow{"12,5", Qt::Key_Up, "2", 1}));

TEST_F(SpinFieldFixture, StepAtTopOfIntegerRangeDoesNotWrapToNegative)
{
    field->setMinValue(0);
    field->setMaxValue(0); // unclamped writes
    setText(QStringLiteral("2147483647"));
    field->stepUp();
    EXPECT_EQ(field->text(), QStringLiteral("2147483647"));
}

TEST_F(SpinFieldFixture, ReadOnlyFieldOnlyBeeps)
{
    setText(QStringLiteral("10"));
    field->setReadOnly(true);
    QTest::keyClick(field->editor(), Qt::Key_Up);
    QTest::keyClick(field->editor(), Qt::Key_Down);
    EXPECT_EQ(beeps, 2);
    QTest::keyClicks(field->editor(), QStringLiteral("5"));
    QTest::keyClick(field->editor(), Qt::Key_Backspace);
    EXPECT_EQ(beeps, 2); // accepted characters are silently ignored
    QTest::keyClicks(field->editor(), QStringLiteral("a"));
    EXPECT_EQ(beeps, 3); // refused ones still beep
    QApplication::clipboard()->setText(QStringLiteral("77"));
    QTest::keyClick(field->editor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("10"));
    EXPECT_EQ(changes, 0);

    // Program writes still work.
    field->setValue(20);
    EXPECT_EQ(field->text(), QStringLiteral("20"));
}

// ---- Typing, filter and paste ------------------------------------------------------

TEST_F(SpinFieldFixture, FilterDropsLettersAndBlanksWithBeep)
{
    setText(QString());
    std::vector<char16_t> seen;
    field->OnKeyPress = [&](TSpinEdit*, char16_t& c) { seen.push_back(c); };
    QTest::keyClicks(field->editor(), QStringLiteral("1a 2/x-"));
    EXPECT_EQ(field->text(), QStringLiteral("12-"));
    EXPECT_EQ(beeps, 4);
    EXPECT_EQ(seen, (std::vector<char16_t>{u'1', u'2', u'-'})); // dropped ones never reach the handler
    EXPECT_EQ(changes, 3);

    setText(QString());
    const QString separator = QLocale::system().decimalPoint();
    QTest::keyClicks(field->editor(), QStringLiteral("1") + separator + QStringLiteral("5"));
    EXPECT_EQ(field->text(), QStringLiteral("1") + separator + QStringLiteral("5"));
    EXPECT_EQ(beeps, 0);
}

TEST_F(SpinFieldFixture, MaxLengthLimitsTypingAndPasting)
{
    setText(QString());
    QTest::keyClicks(field->editor(), QStringLiteral("123456"));
    EXPECT_EQ(field->text(), QStringLiteral("1234"));

    setText(QStringLiteral("12"));
    field->editor()->end(false);
    QApplication::clipboard()->setText(QStringLiteral("ab cd"));
    QTest::keyClick(field->editor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("12ab")); // no filter, only the limit
    EXPECT_EQ(field->Value(), 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(beeps, 0);

    // Pasting over a selection has the selection's room as well.
    field->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("98765\n43"));
    QTest::keyClick(field->editor(), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(field->text(), QStringLiteral("9876"));

    // The limit cuts between whole characters, never inside one.
    const std::pair<const char16_t*, const char16_t*> cuts[]
        = {{u"123\U0001F600", u"123"}, // a surrogate pair at the limit
           {u"\U0001F600\U0001F600\U0001F600", u"\U0001F600\U0001F600"},
           {u"123e\u0301", u"123"},          // a letter and its accent
           {u"1\U0001F1E9\U0001F1EA", u"1"}, // a flag is two code points
           {u"12e\u0301x", u"12e\u0301"}};
    for (const auto& [pasted, kept] : cuts) {
        setText(QString());
        QApplication::clipboard()->setText(QString::fromUtf16(pasted));
        QTest::keyClick(field->editor(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(field->text(), QString::fromUtf16(kept)) << QString::fromUtf16(pasted).toStdString();
    }
}

TEST_F(SpinFieldFixture, EveryKindOfEditNotifiesOnce)
{
    setText(QString());
    QTest::keyClicks(field->editor(), QStringLiteral("12"));
    EXPECT_EQ(changes, 2);
    QTest::keyClick(field->editor(), Qt::Key_Backspace);
    EXPECT_EQ(changes, 3);
    QTest::keyClick(field->editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("12"));
    EXPECT_EQ(changes, 4);
    field->selectAll();
    QTest::keyClick(field->editor(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QString());
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("12"));

    // Retyping the selected text with itself is no change.
    setText(QStringLiteral("5"));
    field->selectAll();
    QTest::keyClicks(field->editor(), QStringLiteral("5"));
    EXPECT_EQ(field->text(), QStringLiteral("5"));
    EXPECT_EQ(changes, 0);
}

TEST_F(SpinFieldFixture, ChangeHandlerRunsInsideTheWrite)
{
    TSpinEdit partner(window.get());
    partner.setMinValue(1);
    partner.setMaxValue(99999);
    field->OnChange = [&](TSpinEdit* sender) { partner.setValue(sender->Value() * 2); };
    field->setValue(21);
    EXPECT_EQ(partner.text(), QStringLiteral("42")); // already there when setValue returns
}

// ---- Key handlers and dialog keys -----------------------------------------------------

TEST_F(SpinFieldFixture, KeyHandlersSeeVirtualKeysAndCanConsume)
{
    setText(QString());
    std::vector<std::uint16_t> downs;
    field->OnKeyDown = [&](TSpinEdit*, std::uint16_t& key, Qt::KeyboardModifiers) {
        downs.push_back(key);
        if (key == '7')
            key = 0;
    };
    field->OnKeyPress = [&](TSpinEdit*, char16_t& c) {
        if (c == u'8')
            c = 0;
        else if (c == u'+')
            c = u'-';
    };
    QTest::keyClicks(field->editor(), QStringLiteral("6789"));
    EXPECT_EQ(field->text(), QStringLiteral("69"));
    QTest::keyClicks(field->editor(), QStringLiteral("+"));
    EXPECT_EQ(field->text(), QStringLiteral("69-")); // a handler may replace the character
    QTest::keyClick(field->editor(), Qt::Key_Up);
    EXPECT_EQ(downs.back(), vk::Up);
    EXPECT_EQ((std::vector<std::uint16_t>(downs.begin(), downs.begin() + 4)),
              (std::vector<std::uint16_t>{'6', '7', '8', '9'}));
    EXPECT_EQ(beeps, 0);

    // A window without dialog keys lets Enter through: key-down 13, then a refused carriage return.
    QTest::keyClick(field->editor(), Qt::Key_Return);
    EXPECT_EQ(downs.back(), vk::Return);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(field->text(), QStringLiteral("2")); // "69-" read as MinValue, stepped up
}

TEST(SpinDialogKeysTest, DefaultButtonTakesEnterOnlyWhenEnabledAndKeyIsPlain)
{
    standin::CountingBeep beep;
    int& beeps = beep.count;
    QDialog dialog;
    auto* field = new TSpinEdit(&dialog, beep);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setGeometry(10, 50, 80, 30);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&] { dialog.done(1); });
    int returns = 0;
    field->OnKeyDown = [&](TSpinEdit*, std::uint16_t& key, Qt::KeyboardModifiers) { returns += key == vk::Return; };
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    field->setFocus();

    QTest::keyClick(field->editor(), Qt::Key_Return, Qt::ShiftModifier);
    ok->setEnabled(false);
    QTest::keyClick(field->editor(), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(returns, 2);
    EXPECT_EQ(beeps, 2);

    ok->setEnabled(true);
    QTest::keyClick(field->editor(), Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(returns, 2); // the dialog took it before the field
    EXPECT_EQ(beeps, 2);
}

TEST_F(SpinFieldFixture, WindowShortcutTakesCtrlVBeforeTheEditor)
{
    setText(QStringLiteral("1"));
    field->editor()->end(false);
    QApplication::clipboard()->setText(QStringLiteral("23"));
    int downs = 0;
    field->OnKeyDown = [&](TSpinEdit*, std::uint16_t& key, Qt::KeyboardModifiers) { downs += key == 'V'; };

    {
        QShortcut paste(QKeySequence(Qt::CTRL | Qt::Key_V), field, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        QSignalSpy fired(&paste, &QShortcut::activated);
        QTest::keyClick(field->editor(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(fired.count(), 1);
        EXPECT_EQ(field->text(), QStringLiteral("1"));
        EXPECT_EQ(downs, 0);
        EXPECT_EQ(beeps, 0);
    }
    // Without the shortcut the same key pastes.
    QTest::keyClick(field->editor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("123"));
    EXPECT_EQ(downs, 1);
}

TEST_F(SpinFieldFixture, WindowGivenContextMenuReplacesTheStandardOne)
{
    field->setContextMenuPolicy(Qt::CustomContextMenu);
    QSignalSpy requested(field, &QWidget::customContextMenuRequested);
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5), field->editor()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(field->editor(), &request);
    EXPECT_EQ(requested.count(), 1);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

// ---- Focus -------------------------------------------------------------------------

TEST_F(SpinFieldFixture, FocusSelectsAllExceptAfterLeftClick)
{
    setText(QStringLiteral("1234"));
    other->setFocus();
    field->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(field->editor()->selectedText(), QStringLiteral("1234"));

    other->setFocus();
    field->setFocus(Qt::OtherFocusReason); // as the windows' "give the field the focus"
    EXPECT_EQ(field->editor()->selectedText(), QStringLiteral("1234"));

    other->setFocus();
    QTest::mouseClick(field->editor(), Qt::LeftButton, {}, QPoint(5, field->editor()->height() / 2));
    EXPECT_TRUE(field->editor()->hasFocus());
    EXPECT_TRUE(field->editor()->selectedText().isEmpty());

    other->setFocus();
    QTest::mouseClick(field->editor(), Qt::RightButton, {}, QPoint(5, field->editor()->height() / 2));
    EXPECT_EQ(field->editor()->selectedText(), QStringLiteral("1234"));
}

struct FocusOutRow {
    int min, max;
    const char* text;
    const char* expected;
    int expectedChanges;
};

class SpinFocusOutTest : public SpinFieldFixture, public ::testing::WithParamInterface<FocusOutRow> {};

TEST_P(SpinFocusOutTest, LeavingCorrectsOnlyOutOfRangeIntegers)
{
    const FocusOutRow r = GetParam();
    field->setMinValue(r.min);
    field->setMaxValue(r.max);
    setText(QString::fromUtf8(r.text));
    QTest::keyClick(field->editor(), Qt::Key_Tab);
    ASSERT_TRUE(other->hasFocus());
    EXPECT_EQ(field->text(), QString::fromUtf8(r.expected));
    EXPECT_EQ(changes, r.expectedChanges);
}

INSTANTIATE_TEST_SUITE_P(Rows, SpinFocusOutTest,
                         ::testing::Values(FocusOutRow{1, 9999, "0", "1", 1}, FocusOutRow{1, 9999, "", "", 0},
                                           FocusOutRow{1, 9999, "12,5", "12,5", 0},
                                           FocusOutRow{1, 9999, "12345", "9999", 1}, FocusOutRow{1, 9999, "-5", "1", 1},
                                           FocusOutRow{1, 9999, "0012", "0012", 0}, FocusOutRow{5, 5, "0", "0", 0},
                                           FocusOutRow{5, 5, "77", "77", 0}));

TEST_F(SpinFieldFixture, ClosingTheWindowCorrectsNothing)
{
    setText(QStringLiteral("0"));
    window->close();
    EXPECT_EQ(field->text(), QStringLiteral("0"));
    EXPECT_EQ(changes, 0);
}

// ---- Height, font and colours ------------------------------------------------------

// The line height L of a font as an auto-sizing label takes it.
int labelLine(const QFont& font)
{
    QLabel probe(QStringLiteral("M"));
    probe.setFont(font);
    probe.adjustSize();
    return probe.height();
}

// How far the minimum height lies above L, worked out by hand for the system
// line heights S met: with the usual S = 16, 8 up to L = 11, 9 for 12 to 15 and
// 10 from 16 on (22 for L = 13); with S = 14 (the offscreen platform's "Sans
// Serif" 9 pt) and S = 12 (the same platform on Windows, with the test fonts),
// 7 for L from 4 to 7, 8 for 8 to 11 and 9 from 12 on.
struct MinimumBand {
    int systemLine, fromLine, toLine, above;
};
constexpr MinimumBand MinimumBands[] = {
    {16, 8, 11, 8},    {16, 12, 15, 9}, {16, 16, 1000, 10}, {14, 4, 7, 7},     {14, 8, 11, 8},
    {14, 12, 1000, 9}, {12, 4, 7, 7},   {12, 8, 11, 8},     {12, 12, 1000, 9},
};

std::optional<int> workedMinimum(int line, int systemLine)
{
    for (const MinimumBand& b : MinimumBands)
        if (b.systemLine == systemLine && line >= b.fromLine && line <= b.toLine)
            return line + b.above;
    return std::nullopt;
}

class SpinHeightTest : public ::testing::TestWithParam<int> {};

// A font change sets the height to L + 8; whenever the height would fall
// below the minimum, the field takes the minimum.
TEST_P(SpinHeightTest, HeightFollowsFontAndNeverFallsBelowMinimum)
{
    QWidget window;
    TSpinEdit field(&window);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(GetParam());
    field.setFont(font);

    const int systemLine = labelLine(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    const int line = labelLine(font);
    const std::optional<int> minimum = workedMinimum(line, systemLine);
    ASSERT_TRUE(minimum) << "no worked example for L = " << line << ", S = " << systemLine;
    EXPECT_EQ(field.height(), std::max(line + 8, *minimum)) << "L = " << line;
    EXPECT_GE(field.height(), HoeheFuerSchrift(font, QLineEdit()));

    // A layout that sets a smaller height does not get below the minimum ...
    field.setGeometry(0, 0, 100, 3);
    EXPECT_EQ(field.height(), *minimum);
    EXPECT_EQ(field.width(), 100);
    // ... and the next font change sets the rule's height again.
    font.setPixelSize(GetParam() + 1);
    field.setFont(font);
    const int nextLine = labelLine(font);
    const std::optional<int> nextMinimum = workedMinimum(nextLine, systemLine);
    ASSERT_TRUE(nextMinimum) << "no worked example for L = " << nextLine << ", S = " << systemLine;
    EXPECT_EQ(field.height(), std::max(nextLine + 8, *nextMinimum)) << "L = " << nextLine;
    // The text area and the arrow strip fill the new height.
    EXPECT_EQ(field.editor()->height(), field.height());
}

INSTANTIATE_TEST_SUITE_P(PixelSizes, SpinHeightTest, ::testing::Values(6, 9, 11, 13, 16, 24, 48, 80));

TEST_F(SpinFieldFixture, TextAreaTakesFontAndColoursOfTheField)
{
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(30);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0x80));
    palette.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    field->setFont(font);
    field->setPalette(palette);
    EXPECT_EQ(field->editor()->font().pixelSize(), 30);
    EXPECT_EQ(field->editor()->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0x80));
    EXPECT_EQ(field->editor()->palette().color(QPalette::Text), QColor(0x00, 0x00, 0x80));

    palette.setColor(QPalette::Base, Qt::green);
    field->setPalette(palette);
    EXPECT_EQ(field->editor()->palette().color(QPalette::Base), QColor(Qt::green));
}

TEST_F(SpinFieldFixture, ArrowStripSitsInsideRightEndAndTextEndsBeforeIt)
{
    const QRect strip = field->buttons()->geometry();
    EXPECT_EQ(strip.width(), 15);
    EXPECT_LT(strip.right(), field->editor()->width());
    EXPECT_GE(field->editor()->textMargins().right(), 15);
}

// ---- Accessibility -----------------------------------------------------------------

TEST_F(SpinFieldFixture, ScreenReaderFindsFieldByLabelWithValue)
{
    auto* label = new QLabel(QStringLiteral("Bild&breite:"), window.get());
    label->setBuddy(field);
    label->show();
    setText(QStringLiteral("640"));

    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(field);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::SpinBox);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Bildbreite:"));
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("640"));
    QAccessibleValueInterface* value = iface->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toInt(), 640);
    EXPECT_EQ(value->minimumValue().toInt(), 1);
    EXPECT_EQ(value->maximumValue().toInt(), 9999);
    value->setCurrentValue(12345);
    EXPECT_EQ(field->text(), QStringLiteral("9999"));
    EXPECT_EQ(changes, 1);

    field->setReadOnly(true);
    EXPECT_TRUE(iface->state().readOnly);

    // The focused text area carries the same name.
    other->setFocus();
    QTest::keyClick(window.get(), Qt::Key_B, Qt::AltModifier); // the label's accelerator
    EXPECT_TRUE(field->editor()->hasFocus());
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(field->editor());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(QAccessible::Name), QStringLiteral("Bildbreite:"));
    ASSERT_NE(text->textInterface(), nullptr);
    EXPECT_EQ(text->textInterface()->text(0, 4), QStringLiteral("9999"));
}

// The display settings reach a spin field as they reach a single-line edit
// field: the whole font with its colour, and the background colour; its
// automatic height is that of a plain control, the label's line.
TEST(SpinFieldAppearance, TakesTheWholeFontAndTheBackgroundLikeAnEditField)
{
    TFont font(96);
    font.Name = QStringLiteral("Liberation Serif");
    font.setSize(28);
    font.Style.bold = true;
    font.Color.raw = 0x00004080;             // dark brown
    const ColorValue background{0x00C0FFFF}; // light yellow
    TSpinEdit spin;
    QPushButton button;
    ApplyDisplaySettings({&spin, &button}, font, background);

    EXPECT_EQ(spin.font().family(), QStringLiteral("Liberation Serif"));
    EXPECT_TRUE(spin.font().bold());
    EXPECT_EQ(spin.palette().color(QPalette::Active, QPalette::Base), background.toQColor(spin.palette()));
    EXPECT_EQ(spin.palette().color(QPalette::Active, QPalette::Text), QColor(0x80, 0x40, 0x00));
    EXPECT_EQ(button.font().family(), QStringLiteral("Liberation Serif")) << "a button takes the face";
    EXPECT_NE(button.palette().color(QPalette::Active, QPalette::ButtonText), QColor(0x80, 0x40, 0x00))
        << "but not the colour";

    EXPECT_EQ(HoeheFuerSchrift(spin.font(), spin), LabelLineHeight(spin.font()))
        << "the spin field is no single-line edit field";
}

} // namespace
