// The font command's dialog: what it writes back into the display font, and
// that the window itself stays on the screen however large the font.
#include "appearance/TFontDialog.h"

#include "appearance/FontScripts.h"
#include "appearance/FontWindow.h"
#include "support/ModalLoop.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(ApplyFontChoice, ColourAndCharsetOnlyWhenChosenBoldAboveNormalWeight)
{
    TFont basis;
    basis.Name = QStringLiteral("Liberation Mono");
    basis.Color.raw = ColorValue::clWindowText;
    basis.Charset = 204;

    FontChoice w;
    w.Name = QStringLiteral("Liberation Serif");
    w.Points = 20;
    w.Weight = 401;
    w.Italic = true;
    w.StruckOut = true;
    TFont f = basis;
    ApplyFontChoice(f, w);
    EXPECT_EQ(f.Name, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(f.Size(), 20);
    EXPECT_EQ(f.Style, (TFontStyles{true, true, false, true}));
    EXPECT_EQ(f.Color.raw, ColorValue::clWindowText) << "no colour picked";
    EXPECT_EQ(f.Charset, 204) << "script and face untouched";

    w.Weight = 400;
    w.Color = ColorValue{0x0000FF};
    w.Charset = 0;
    ApplyFontChoice(f, w);
    EXPECT_FALSE(f.Style.bold);
    EXPECT_EQ(f.Color.raw, 0x0000FFu);
    EXPECT_EQ(f.Charset, 0);
}

TEST(FontScripts, LatinFaceOffersWesternFirstAndUnknownFaceWesternOnly)
{
    const std::vector<int> latin = ScriptsOfFont(QStringLiteral("Liberation Sans"));
    ASSERT_FALSE(latin.empty());
    EXPECT_EQ(latin.front(), 0);
    EXPECT_NE(std::find(latin.begin(), latin.end(), 238), latin.end());
    EXPECT_EQ(ScriptsOfFont(QStringLiteral("Gibt Es Nicht 12345")), std::vector<int>{0});
    EXPECT_EQ(ScriptName(204), QStringLiteral("Kyrillisch"));
    EXPECT_EQ(ScriptName(161), QStringLiteral("Griechisch"));
    EXPECT_EQ(ScriptName(99), QStringLiteral("Zeichensatz 99"));
}

// Runs Execute; the action gets the window once it is up and decides how it ends.
bool runDialog(TFontDialog& dialog, const std::function<void(FontWindow&)>& step)
{
    bool ok = false;
    EXPECT_TRUE(modaltest::actInModal<FontWindow>([&] { ok = dialog.Execute(nullptr); }, step).shown);
    return ok;
}

void chooseFamily(FontWindow& f, const QString& name)
{
    const QList<QListWidgetItem*> hits = f.NameList->findItems(name, Qt::MatchExactly);
    ASSERT_FALSE(hits.isEmpty()) << name.toStdString();
    QTest::mouseClick(f.NameList->viewport(), Qt::LeftButton, {}, f.NameList->visualItemRect(hits[0]).center());
}

class FontDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog.Font.Name = QStringLiteral("Liberation Sans");
        dialog.Font.setSize(14);
        dialog.Font.Color.raw = ColorValue::clWindowText;
        dialog.Font.Charset = 77; // a set the face does not offer: it shows whether the set is written
    }
    TFontDialog dialog;
};

// The controls the Tab key visits, in its order, from the one with the focus
// round to it again.
std::vector<QWidget*> tabRound()
{
    std::vector<QWidget*> stops;
    QWidget* const first = QApplication::focusWidget();
    for (QWidget* w = first; w && stops.size() < 40; w = QApplication::focusWidget()) {
        if (!stops.empty() && w == first)
            break;
        stops.push_back(w);
        QTest::keyClick(w, Qt::Key_Tab);
    }
    return stops;
}

// One notch of the mouse wheel over the middle of a control.
void wheelOver(QWidget* w, int notches)
{
    const QPointF at = QRectF(w->rect()).center();
    QWheelEvent wheel(at, w->mapToGlobal(at), QPoint(), QPoint(0, -120 * notches), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &wheel);
}

// Moving through the window chooses nothing: Tab round every control and back
// with Shift+Tab, the wheel over every control that lacks the focus, then OK
// give back the font exactly as it came. That holds for a face the list does
// not hold ("Arial" is an alias on Linux), a face spelt in another case, a
// size the size list does not offer, a colour and a character set of its own.
TEST_F(FontDialog, MovingThroughTheWindowChoosesNothing)
{
    struct Stored {
        const char* name;
        int points;
        bool bold;
        std::uint32_t color;
        std::uint8_t charset;
    };
    for (const Stored& s :
         {Stored{"Arial", 14, false, ColorValue::clWindowText, 0}, Stored{"liberation serif", 13, true, 0x0000FF, 77},
          Stored{"Gibt Es Nicht 12345", 30, false, 0x123456, 204}}) {
        SCOPED_TRACE(s.name);
        dialog.Font.Name = QString::fromUtf8(s.name);
        dialog.Font.setSize(s.points);
        dialog.Font.Style.bold = s.bold;
        dialog.Font.Color.raw = s.color;
        dialog.Font.Charset = s.charset;
        const TFont before = dialog.Font;
        std::size_t stops = 0;
        EXPECT_TRUE(runDialog(dialog, [&](FontWindow& f) {
            EXPECT_EQ(f.NameEdit->text(), before.Name) << "the stored face is shown as it is";
            const std::vector<QWidget*> round = tabRound();
            stops = round.size();
            for (std::size_t i = 0; i < round.size(); ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
            f.NameEdit->setFocus();
            for (QWidget* w : round)
                if (w != f.NameEdit)
                    wheelOver(w, 1);
            for (QListWidget* list : {f.NameList, f.StyleList, f.SizeList})
                wheelOver(list->viewport(), 3);
            EXPECT_EQ(f.NameEdit->text(), before.Name);
            EXPECT_EQ(f.SizeEdit->text(), QString::number(s.points));
            QTest::mouseClick(f.OkButton, Qt::LeftButton);
        }));
        EXPECT_GE(stops, 11u) << "every control was visited";
        EXPECT_EQ(dialog.Font.Name, before.Name);
        EXPECT_EQ(dialog.Font, before);
    }
}

// A face the list does not hold is kept in the name field; the list shows the
// face that is drawn for it, where the list has that one.
TEST_F(FontDialog, FaceOutsideTheListIsShownWithTheFaceDrawnForIt)
{
    dialog.Font.Name = QStringLiteral("Arial");
    const QString drawn = QFontInfo(QFont(dialog.Font.Name)).family();
    EXPECT_FALSE(runDialog(dialog, [&](FontWindow& f) {
        EXPECT_EQ(f.NameEdit->text(), QStringLiteral("Arial"));
        const QList<QListWidgetItem*> selected = f.NameList->selectedItems();
        if (f.NameList->findItems(drawn, Qt::MatchExactly).isEmpty()) {
            EXPECT_TRUE(selected.isEmpty());
        } else {
            ASSERT_EQ(selected.size(), 1);
            EXPECT_EQ(selected[0]->text(), drawn);
        }
        f.reject();
    }));
}

// What the user picks by keys in a list is the choice: the entry after the
// one shown, for the face, the style and the size alike.
TEST_F(FontDialog, ArrowKeysInAListPickItsNextEntry)
{
    dialog.Font.setSize(14);
    QString pickedFace;
    EXPECT_TRUE(runDialog(dialog, [&](FontWindow& f) {
        for (QListWidget* list : {f.NameList, f.StyleList, f.SizeList}) {
            list->setFocus(Qt::TabFocusReason);
            QTest::keyClick(list, Qt::Key_Down);
        }
        ASSERT_EQ(f.NameList->selectedItems().size(), 1);
        pickedFace = f.NameList->selectedItems()[0]->text();
        EXPECT_EQ(f.NameEdit->text(), pickedFace);
        EXPECT_EQ(f.SizeEdit->text(), QStringLiteral("16"));
        QTest::mouseClick(f.OkButton, Qt::LeftButton);
    }));
    EXPECT_NE(pickedFace, QStringLiteral("Liberation Sans"));
    EXPECT_EQ(dialog.Font.Name, pickedFace);
    EXPECT_TRUE(dialog.Font.Style.italic) << "Standard, then Kursiv";
    EXPECT_FALSE(dialog.Font.Style.bold);
    EXPECT_EQ(dialog.Font.Size(), 16);

    // Where the list shows no entry (a size it does not offer), the first key picks its first entry.
    dialog.Font.setSize(13);
    EXPECT_TRUE(runDialog(dialog, [&](FontWindow& f) {
        f.SizeList->setFocus(Qt::TabFocusReason);
        QTest::keyClick(f.SizeList, Qt::Key_Down);
        EXPECT_EQ(f.SizeEdit->text(), f.SizeList->item(0)->text());
        QTest::mouseClick(f.OkButton, Qt::LeftButton);
    }));
    EXPECT_EQ(dialog.Font.Size(), 8);
}

// A screen reader hears an item as focused only while its list has the focus:
// at every Tab stop, the lists without the focus report no focused item, and
// the list with it reports the one it stands on.
TEST_F(FontDialog, ListItemsAreFocusedOnlyWhileTheirListHasTheFocus)
{
    EXPECT_FALSE(runDialog(dialog, [&](FontWindow& f) {
        const auto focusedItems = [](QListWidget* list) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(list);
            int focused = 0;
            for (int i = 0; iface && i < iface->childCount(); ++i)
                focused += iface->child(i) && iface->child(i)->state().focused ? 1 : 0;
            return focused;
        };
        const std::vector<QWidget*> round = tabRound();
        ASSERT_GE(round.size(), 11u);
        for (QWidget* stop : round) {
            stop->setFocus(Qt::TabFocusReason);
            for (QListWidget* list : {f.NameList, f.StyleList, f.SizeList})
                EXPECT_EQ(focusedItems(list), list == stop ? 1 : 0)
                    << list->accessibleName().toStdString() << " with the focus on " << stop->metaObject()->className()
                    << " " << stop->accessibleName().toStdString();
        }
        f.reject();
    }));
}

// The same as a screen reader reads it over the accessibility bus: the state
// set that AT-SPI hands out for the item each list stands on. Runs only with
// the bridge up (test_appearance_screen_reader).
class AtSpi {
public:
    AtSpi()
    {
        const QString address = ask({QStringLiteral("--session"), QStringLiteral("--dest=org.a11y.Bus"),
                                     QStringLiteral("/org/a11y/bus"), QStringLiteral("org.a11y.Bus.GetAddress")});
        m_bus = QStringLiteral("--bus=") + address.section(QLatin1Char(' '), -1);
        // This process's connection on the accessibility bus, found by its process id.
        auto names
            = QRegularExpression(QStringLiteral(":[0-9]+\\.[0-9]+")).globalMatch(daemon(QStringLiteral("ListNames")));
        while (names.hasNext() && m_dest.isEmpty()) {
            const QString name = names.next().captured();
            if (daemon(QStringLiteral("GetConnectionUnixProcessID"), QStringLiteral("string:") + name)
                    .endsWith(QLatin1Char(' ') + QString::number(QCoreApplication::applicationPid())))
                m_dest = QStringLiteral("--dest=") + name;
        }
    }
    bool found() const { return !m_dest.isEmpty(); }

    // Whether AT-SPI reports the object as focused (state bit 12, ATSPI_STATE_FOCUSED).
    bool focused(QAccessibleInterface* iface)
    {
        const QString path
            = QStringLiteral("/org/a11y/atspi/accessible/") + QString::number(QAccessible::uniqueId(iface));
        const QString reply = ask({m_bus, m_dest, path, QStringLiteral("org.a11y.atspi.Accessible.GetState")});
        const QRegularExpressionMatch words
            = QRegularExpression(QStringLiteral("uint32 ([0-9]+)\\s+uint32 ([0-9]+)")).match(reply);
        EXPECT_TRUE(words.hasMatch()) << reply.toStdString();
        return (words.captured(1).toULongLong() >> 12) & 1;
    }

private:
    static QString ask(const QStringList& arguments)
    {
        QProcess p;
        p.start(QStringLiteral("dbus-send"), QStringList{QStringLiteral("--print-reply=literal")} + arguments);
        // The bridge answers from this process's own event loop.
        if (!QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 20000))
            ADD_FAILURE() << "dbus-send did not answer: " << arguments.join(u' ').toStdString();
        return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
    }
    QString daemon(const QString& method, const QString& argument = QString()) const
    {
        QStringList arguments{m_bus, QStringLiteral("--dest=org.freedesktop.DBus"),
                              QStringLiteral("/org/freedesktop/DBus"),
                              QStringLiteral("org.freedesktop.DBus.") + method};
        if (!argument.isEmpty())
            arguments << argument;
        return ask(arguments);
    }
    QString m_bus, m_dest;
};

TEST_F(FontDialog, OverTheAccessibilityBusOnlyTheFocusedListHasAFocusedItem)
{
    if (!qEnvironmentVariableIsSet("ZARNOLITH_REQUIRE_ACCESSIBILITY"))
        GTEST_SKIP() << "no accessibility bus here; test_appearance_screen_reader runs this with one";
    ASSERT_TRUE(QTest::qWaitFor([] { return QAccessible::isActive(); }, 5000)) << "the bridge did not come up";
    AtSpi bus;
    ASSERT_TRUE(bus.found()) << "no connection of this process on the accessibility bus";
    EXPECT_FALSE(runDialog(dialog, [&](FontWindow& f) {
        // The item each list stands on: the entry it shows as chosen.
        const auto shownItem = [](QListWidget* list) -> QAccessibleInterface* {
            const QList<QListWidgetItem*> selected = list->selectedItems();
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(list);
            if (selected.isEmpty() || !iface || !iface->tableInterface())
                return nullptr;
            return iface->tableInterface()->cellAt(list->row(selected[0]), 0);
        };
        for (QWidget* focus : std::initializer_list<QWidget*>{f.NameEdit, f.StyleList, f.OkButton}) {
            focus->setFocus(Qt::TabFocusReason);
            QApplication::processEvents();
            for (QListWidget* list : {f.NameList, f.StyleList, f.SizeList}) {
                QAccessibleInterface* item = shownItem(list);
                ASSERT_TRUE(item) << list->accessibleName().toStdString();
                EXPECT_EQ(bus.focused(item), list == focus)
                    << list->accessibleName().toStdString() << " with the focus on "
                    << focus->metaObject()->className();
            }
        }
        f.reject();
    }));
}

// How many pixels of the sample are exactly this colour.
int pixelsOf(QLabel* sample, QColor colour)
{
    const QImage image = sample->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour.rgb() ? 1 : 0;
    return n;
}

// The sample shows what the windows will show: the text colour on the
// text-background colour in use, and a colour picked in the box at once.
TEST_F(FontDialog, SampleShowsTheChosenColourOnTheBackgroundInUse)
{
    dialog.Font.setSize(48);          // strokes wide enough to have pixels of the colour itself
    dialog.Font.Color.raw = 0x0000FF; // "Rot"
    const QColor yellow(255, 255, 0), red(255, 0, 0), blue(0, 0, 255);
    EXPECT_TRUE(modaltest::actInModal<FontWindow>(
                    [&] { EXPECT_FALSE(dialog.Execute(nullptr, ColorValue{0x0000FFFF})); }, // "Gelb"
                    [&](FontWindow& f) {
                        const QImage image = f.Sample->grab().toImage().convertToFormat(QImage::Format_RGB32);
                        EXPECT_EQ(image.pixel(1, 1), yellow.rgb()) << "the background";
                        EXPECT_GT(pixelsOf(f.Sample, red), 50) << "the text in its colour";
                        f.ColorBox->setFocus();
                        const int wanted = f.ColorBox->findText(QStringLiteral("Blau"));
                        ASSERT_GE(wanted, 0);
                        while (f.ColorBox->currentIndex() < wanted)
                            QTest::keyClick(f.ColorBox, Qt::Key_Down);
                        EXPECT_GT(pixelsOf(f.Sample, blue), 50) << "the colour picked";
                        EXPECT_EQ(pixelsOf(f.Sample, red), 0);
                        EXPECT_GT(pixelsOf(f.Sample, yellow), 50) << "on the same background";
                        f.reject();
                    })
                    .shown);
}

// The system's text colour in the sample is readable where the windows make it
// so: white on "Schwarz" under a light scheme, black on "Gelb" under a dark one.
TEST_F(FontDialog, SampleDrawsTheSystemTextColourReadablyOnTheBackground)
{
    dialog.Font.setSize(48);
    dialog.Font.Color.raw = ColorValue::clWindowText;
    const QPalette before = QApplication::palette();
    const QColor black(0, 0, 0), white(255, 255, 255);
    struct Case {
        QColor schemeText;
        std::uint32_t background;
        QColor readable;
        QColor unreadable;
    };
    for (const Case& c : {Case{black, 0x00000000u, white, black}, Case{white, 0x0000FFFFu, black, white}}) {
        QPalette scheme = before;
        scheme.setColor(QPalette::Text, c.schemeText);
        scheme.setColor(QPalette::WindowText, c.schemeText);
        QApplication::setPalette(scheme);
        EXPECT_TRUE(modaltest::actInModal<FontWindow>(
                        [&] { EXPECT_FALSE(dialog.Execute(nullptr, ColorValue{c.background})); },
                        [&](FontWindow& f) {
                            EXPECT_GT(pixelsOf(f.Sample, c.readable), 50) << c.readable.name().toStdString();
                            if (c.background != 0)
                                EXPECT_EQ(pixelsOf(f.Sample, c.unreadable), 0) << c.unreadable.name().toStdString();
                            f.reject();
                        })
                        .shown);
        EXPECT_EQ(dialog.Font.Color.raw, ColorValue::clWindowText) << "the setting keeps the system colour";
    }
    QApplication::setPalette(before);
}

TEST_F(FontDialog, ConfirmingUnchangedKeepsSystemColourAndCharset)
{
    const TFont fontBefore = dialog.Font;
    EXPECT_TRUE(runDialog(dialog, [](FontWindow& f) { QTest::keyClick(f.NameEdit, Qt::Key_Return); }));
    EXPECT_EQ(dialog.Font, fontBefore);
    EXPECT_EQ(dialog.Font.Color.raw, 0xFF000008u) << "still the system colour, not its RGB value";
}

TEST_F(FontDialog, ConfirmedChoicesAreWrittenInPlace)
{
    EXPECT_TRUE(runDialog(dialog, [](FontWindow& f) {
        chooseFamily(f, QStringLiteral("Liberation Serif"));
        QTest::mouseClick(f.StyleList->viewport(), Qt::LeftButton, {},
                          f.StyleList->visualItemRect(f.StyleList->item(3)).center()); // Fett Kursiv
        f.SizeEdit->clear();
        QTest::keyClicks(f.SizeEdit, QStringLiteral("37"));
        QTest::mouseClick(f.Underlined, Qt::LeftButton);
        QTest::mouseClick(f.OkButton, Qt::LeftButton);
    }));
    EXPECT_EQ(dialog.Font.Name, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(dialog.Font.Size(), 37);
    EXPECT_EQ(dialog.Font.Style, (TFontStyles{true, true, true, false}));
    EXPECT_EQ(dialog.Font.Charset, 0) << "a new face brings its script";
    EXPECT_EQ(dialog.Font.Color.raw, 0xFF000008u) << "no colour was picked";
}

TEST_F(FontDialog, PickedColourAndScriptAreWritten)
{
    EXPECT_TRUE(runDialog(dialog, [](FontWindow& f) {
        f.ColorBox->setFocus();
        QTest::keyClick(f.ColorBox, Qt::Key_Down); // from "Fenstertext" to "Schwarz"
        const int western = f.ScriptBox->findData(0);
        ASSERT_GE(western, 0);
        f.ScriptBox->setFocus();
        while (f.ScriptBox->currentIndex() != western)
            QTest::keyClick(f.ScriptBox, f.ScriptBox->currentIndex() < western ? Qt::Key_Down : Qt::Key_Up);
        QTest::keyClick(f.ScriptBox, Qt::Key_Return);
    }));
    EXPECT_EQ(dialog.Font.Color.raw, 0x000000u);
    EXPECT_EQ(dialog.Font.Charset, 0);
    EXPECT_EQ(dialog.Font.Name, QStringLiteral("Liberation Sans"));
}

// The box opens on the start colour: a listed one by its name, any other as an
// extra first entry.
TEST_F(FontDialog, ColourBoxOpensOnTheStartColour)
{
    struct FontRow {
        std::uint32_t start;
        const char* name;
        int dirEntries;
    };
    for (const FontRow& z :
         {FontRow{0x0000FF, "Rot", 16}, FontRow{0xFFFF00, "Aquamarin", 16}, FontRow{0x000000, "Schwarz", 16},
          FontRow{ColorValue::clWindowText, "Fenstertext", 17}, FontRow{0x123456, "Benutzerdefiniert", 17}}) {
        dialog.Font.Color.raw = z.start;
        EXPECT_FALSE(runDialog(dialog, [&](FontWindow& f) {
            EXPECT_EQ(f.ColorBox->currentText(), QString::fromUtf8(z.name));
            EXPECT_EQ(f.ColorBox->currentData().toUInt(), z.start) << z.name;
            EXPECT_EQ(f.ColorBox->count(), z.dirEntries) << z.name;
            f.reject();
        }));
    }
}

TEST_F(FontDialog, CancelChangesNothing)
{
    const TFont fontBefore = dialog.Font;
    const std::function<void(FontWindow&)> ways[] = {
        [](FontWindow& f) { QTest::keyClick(f.NameEdit, Qt::Key_Escape); },
        [](FontWindow& f) { QTest::mouseClick(f.CancelButton, Qt::LeftButton); },
        [](FontWindow& f) { f.close(); },
    };
    for (const auto& way : ways) {
        EXPECT_FALSE(runDialog(dialog, [&](FontWindow& f) {
            chooseFamily(f, QStringLiteral("Liberation Mono"));
            QTest::mouseClick(f.StruckOut, Qt::LeftButton);
            f.ColorBox->setFocus();
            QTest::keyClick(f.ColorBox, Qt::Key_Down);
            way(f);
        }));
        EXPECT_EQ(dialog.Font, fontBefore);
    }
}

TEST_F(FontDialog, SizeThatIsNoNumberKeepsTheWindowOpen)
{
    bool messageShown = false;
    EXPECT_TRUE(runDialog(dialog, [&](FontWindow& f) {
        f.SizeEdit->clear();
        modaltest::actInModal<QMessageBox>([&] { QTest::mouseClick(f.OkButton, Qt::LeftButton); },
                                           [&](QMessageBox& box) {
                                               messageShown = true;
                                               box.accept();
                                           });
        EXPECT_TRUE(f.isVisible());
        QTest::keyClicks(f.SizeEdit, QStringLiteral("12"));
        QTest::mouseClick(f.OkButton, Qt::LeftButton);
    }));
    EXPECT_TRUE(messageShown);
    EXPECT_EQ(dialog.Font.Size(), 12);
}

// A stored size outside any usual range (0, negative, huge) neither blocks OK
// nor is changed when left alone; any size the font can hold may be typed.
class SavedSize : public FontDialog, public ::testing::WithParamInterface<int> {};

TEST_P(SavedSize, BlocksNothingAndStaysAsItWasWhenUntouched)
{
    dialog.Font.PixelsPerInch = 96;
    dialog.Font.setSize(GetParam()); // as the settings load does
    const int pixelHeight = dialog.Font.Height;
    int messages = 0;
    const auto countMessages = [&] {
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++messages;
                box->accept();
            }
        });
    };
    EXPECT_TRUE(runDialog(dialog, [&](FontWindow& f) {
        EXPECT_EQ(f.SizeEdit->text(), QString::number(dialog.Font.Size()));
        chooseFamily(f, QStringLiteral("Liberation Serif"));
        countMessages();
        QTest::mouseClick(f.OkButton, Qt::LeftButton);
    }));
    EXPECT_EQ(messages, 0);
    EXPECT_EQ(dialog.Font.Name, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(dialog.Font.Height, pixelHeight) << "the size was not touched";

    // Typed sizes: the same kind is accepted, one beyond the font's height is refused.
    for (const QString& typed : {QStringLiteral("0"), QStringLiteral("-14"), QStringLiteral("100000"),
                                 QString::number(dialog.Font.LargestPoints()), QStringLiteral("99999999999")}) {
        bool tooLarge = false;
        const bool ok = runDialog(dialog, [&](FontWindow& f) {
            f.SizeEdit->clear();
            QTest::keyClicks(f.SizeEdit, typed);
            if (f.SizeEdit->text() != typed) {
                tooLarge = true; // the field took no more digits than the font can hold
                f.SizeEdit->setText(typed);
            }
            countMessages();
            QTest::mouseClick(f.OkButton, Qt::LeftButton);
            if (f.isVisible()) {
                tooLarge = true;
                f.reject();
            }
        });
        if (typed.size() > 10) {
            EXPECT_TRUE(tooLarge && !ok) << typed.toStdString();
        } else {
            EXPECT_TRUE(ok) << typed.toStdString();
            EXPECT_EQ(dialog.Font.Size(), typed.toInt()) << typed.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Stored, SavedSize, ::testing::Values(0, -14, 100000, 2147483647, 14, 1),
                         [](const auto& info) { return "Row" + std::to_string(info.index); });

class OwnFont : public ::testing::TestWithParam<int> {};

// The window's texts are in the display font at its size, however large:
// a huge one is not shrunk either (the window scrolls instead), and the
// window still fits the screen.
TEST_P(OwnFont, WindowUsesTheDisplayFontAtItsSizeAndFitsTheScreen)
{
    TFont displayFont;
    displayFont.Name = QStringLiteral("Liberation Sans");
    displayFont.setSize(GetParam());
    FontWindow targetWindow(displayFont);
    const QSize room = targetWindow.screen()->availableGeometry().size();
    EXPECT_LE(targetWindow.width(), room.width());
    EXPECT_LE(targetWindow.height(), room.height());
    EXPECT_EQ(targetWindow.font().family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(targetWindow.font().pixelSize(), displayFont.AppliedPixelHeight()) << "never shrunk to fit";
    EXPECT_EQ(targetWindow.Sample->font().pixelSize(), displayFont.AppliedPixelHeight())
        << "the sample shows the real size";
}

INSTANTIATE_TEST_SUITE_P(Sizes, OwnFont, ::testing::Values(9, 12, 30, 200, 400));

} // namespace
