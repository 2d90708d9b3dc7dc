// What a screen reader and a keyboard-only user get: every control that takes
// the focus has a name and the right role, the number fields can be read and
// set through the accessibility interfaces, a computed value raises the events
// a screen reader announces, and every menu command is reachable by keys (the
// focus frame is in ProgramStyleTest.cpp).
#include "WindowTestSupport.h"

#include "app/ToolkitTranslation.h"
#include "appearance/FontWindow.h"
#include "appearance/THintergrundForm.h"
#include "help/HistoryViewer.h"

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QAccessibleTextInterface>
#include <QAccessibleValueInterface>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStyleOptionMenuItem>
#include <QTranslator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>
#include <map>
#include <set>

#ifndef _WIN32
#include "AtSpiClient.h"
#include "desktop/X11Probe.h"
#endif

using namespace windowtest;

namespace {

// The role a screen reader must announce for each kind of control that takes the focus.
QAccessible::Role expectedRole(const QWidget* w)
{
    if (qobject_cast<const TSpinEdit*>(w))
        return QAccessible::SpinBox;
    if (qobject_cast<const QPushButton*>(w))
        return QAccessible::PushButton;
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w))
        return QAccessible::EditableText;
    if (qobject_cast<const QCheckBox*>(w))
        return QAccessible::CheckBox;
    if (qobject_cast<const QComboBox*>(w))
        return QAccessible::ComboBox;
    if (qobject_cast<const QListWidget*>(w))
        return QAccessible::List;
    if (qobject_cast<const QAbstractScrollArea*>(w))
        return QAccessible::Client; // a scroll area of its own, scrolled by keys
    return QAccessible::NoRole;
}

// The controls of a window that a keyboard user can reach.
std::vector<QWidget*> focusableControls(QWidget* window)
{
    std::vector<QWidget*> found;
    if (window->focusPolicy() & Qt::TabFocus)
        found.push_back(window); // a window that is itself the control (the history viewer)
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->isVisibleTo(window) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            found.push_back(w);
    return found;
}

struct WindowRow {
    const char* name;
    std::size_t leastControls;
    std::function<QWidget*(Windows&, QTemporaryDir&)> open;
};

class EveryWindow : public ::testing::TestWithParam<WindowRow> {};

TEST_P(EveryWindow, EveryFocusableControlHasANameAndItsRole)
{
    Windows w;
    QTemporaryDir dir;
    QWidget* window = GetParam().open(w, dir);
    ASSERT_TRUE(window);
    window->show();
    w.form->Timer1->stop();

    const std::vector<QWidget*> controls = focusableControls(window);
    EXPECT_GE(controls.size(), GetParam().leastControls);
    for (QWidget* c : controls) {
        const std::string what = (c->metaObject()->className() + QStringLiteral(" ") + c->objectName()).toStdString();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(c);
        ASSERT_TRUE(iface) << what;
        EXPECT_FALSE(iface->text(QAccessible::Name).trimmed().isEmpty()) << what << " has no name";
        EXPECT_EQ(iface->role(), expectedRole(c)) << what;
        // Clicks and the Tab key both reach it; nothing that takes input refuses the focus.
        EXPECT_EQ(c->focusPolicy() & Qt::StrongFocus, Qt::StrongFocus) << what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, EveryWindow,
    ::testing::Values(WindowRow{"MainWindow", 7, [](Windows& w, QTemporaryDir&) -> QWidget* { return w.form.get(); }},
                      WindowRow{"StartValuesDialog", 6,
                                [](Windows& w, QTemporaryDir&) -> QWidget* { return w.pixel.get(); }},
                      WindowRow{"BackgroundDialog", 3,
                                [](Windows& w, QTemporaryDir&) -> QWidget* {
                                    w.form->HintergrundForm()->SchriftartZuweisen(*AnzeigeSchrift, AnzeigeHintergrund);
                                    return w.form->HintergrundForm();
                                }},
                      WindowRow{"FontDialog", 10,
                                [](Windows& w, QTemporaryDir&) -> QWidget* {
                                    auto* dialog = new FontWindow(*AnzeigeSchrift, w.form.get());
                                    dialog->setAttribute(Qt::WA_DeleteOnClose);
                                    return dialog;
                                }},
                      WindowRow{"HistoryViewer", 1,
                                [](Windows& w, QTemporaryDir& dir) -> QWidget* {
                                    const QString path = dir.filePath(QStringLiteral("History.txt"));
                                    QFile file(path);
                                    if (!file.open(QIODevice::WriteOnly))
                                        return nullptr;
                                    file.write("V1.01: erste Fassung\n");
                                    file.close();
                                    return new help::HistoryViewer(path, w.form->FontDialog1Font, AnzeigeHintergrund,
                                                                   w.form.get());
                                }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The number fields through the accessibility interfaces -------------------

TEST(ScreenReader, NumberFieldsAreReadAndSetThroughValueAndTextInterfaces)
{
    Windows w;
    ASSERT_EQ(enterStartValues(*w.form, QStringLiteral("1920"), QStringLiteral("1080")), TPixelForm::mrOk);

    for (TSpinEdit* field : {w.form->SpinEdit1, w.form->SpinEdit2, PixelForm->SpinEdit1, PixelForm->SpinEdit2}) {
        const std::string what = field->labelName().toStdString();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(field);
        ASSERT_TRUE(iface && iface->valueInterface()) << what;
        EXPECT_EQ(iface->valueInterface()->currentValue().toInt(), field->Value()) << what;
        EXPECT_EQ(iface->valueInterface()->minimumValue().toInt(), field->MinValue()) << what;
        EXPECT_EQ(iface->valueInterface()->maximumValue().toInt(), field->MaxValue()) << what;
        EXPECT_EQ(iface->text(QAccessible::Value), field->text()) << what;

        QAccessibleInterface* text = QAccessible::queryAccessibleInterface(field->editor());
        ASSERT_TRUE(text && text->textInterface()) << what;
        EXPECT_EQ(text->text(QAccessible::Name), field->labelName()) << what;
        const int n = text->textInterface()->characterCount();
        EXPECT_EQ(text->textInterface()->text(0, n), field->text()) << what;
    }

    // A screen reader that sets the new width starts the calculation like typing does.
    QAccessible::queryAccessibleInterface(w.form->SpinEdit1)->valueInterface()->setCurrentValue(800);
    EXPECT_EQ(w.form->SpinEdit1->text(), QStringLiteral("800"));
    EXPECT_EQ(w.form->SpinEdit2->text(), QStringLiteral("449"));
    QAccessibleInterface* height = QAccessible::queryAccessibleInterface(w.form->SpinEdit2->editor());
    ASSERT_TRUE(height->editableTextInterface());
    height->editableTextInterface()->replaceText(0, height->textInterface()->characterCount(), QStringLiteral("720"));
    EXPECT_EQ(w.form->SpinEdit1->text(), QStringLiteral("1280"));

    // The start values are read-only for everyone, assistive technology included.
    QAccessibleInterface* start = QAccessible::queryAccessibleInterface(w.form->Edit1);
    EXPECT_TRUE(start->state().readOnly);
    EXPECT_EQ(start->textInterface()->text(0, start->textInterface()->characterCount()), QStringLiteral("1920"));
}

std::vector<std::pair<QObject*, QAccessible::Event>>* g_events = nullptr;

void recordEvent(QAccessibleEvent* e)
{
    if (g_events)
        g_events->emplace_back(e->object(), e->type());
}

// What this proves is the toolkit's side: with the accessibility bridge up,
// writing the computed value raises the value and text events that the bridge
// turns into announcements. The handler below takes the events in place of
// the bridge, so nothing here shows them arriving over AT-SPI.
TEST(ScreenReader, AComputedValueRaisesTheValueAndTextEventsOfQt)
{
    Windows w;
    ASSERT_EQ(enterStartValues(*w.form, QStringLiteral("1920"), QStringLiteral("1080")), TPixelForm::mrOk);

    std::vector<std::pair<QObject*, QAccessible::Event>> events;
    g_events = &events;
    // Announcements go out only while a screen reader listens (Qt's bridge is active).
    const bool required = qEnvironmentVariableIsSet("ZARNOLITH_REQUIRE_ACCESSIBILITY");
    if (!QTest::qWaitFor([] { return QAccessible::isActive(); }, required ? 5000 : 0)) {
        if (required)
            FAIL() << "the accessibility bridge did not come up";
        GTEST_SKIP() << "no accessibility bridge here; test_app_screen_reader runs this with one";
    }
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(recordEvent);
    overtype(w.form->SpinEdit1, QStringLiteral("800"));
    QAccessible::installUpdateHandler(previous);
    g_events = nullptr;

    ASSERT_EQ(w.form->SpinEdit2->text(), QStringLiteral("449"));
    const auto announced = [&](QObject* o, QAccessible::Event type) {
        return std::find(events.begin(), events.end(), std::make_pair(o, type)) != events.end();
    };
    EXPECT_TRUE(announced(w.form->SpinEdit2, QAccessible::ValueChanged));
    EXPECT_TRUE(announced(w.form->SpinEdit2->editor(), QAccessible::TextUpdated)
                || announced(w.form->SpinEdit2->editor(), QAccessible::TextInserted));
}

// A menu item's name is its command alone; its shortcut is the item's key
// binding (what AT-SPI hands a screen reader as the shortcut), while the menu
// still shows the program's shortcut text beside the caption.
struct MenuItemOption : QMenu {
    static QStyleOptionMenuItem of(const QMenu& menu, const QAction* action)
    {
        QStyleOptionMenuItem o;
        (menu.*(&MenuItemOption::initStyleOption))(&o, action);
        return o;
    }
};

TEST(ScreenReader, MenuItemsNameTheCommandAndBindTheShortcut)
{
    LoadProgramShortcutTexts(*qApp); // as the program entry does
    Windows w;
    TForm1& f = *w.form;
    f.show();
    f.Timer1->stop();
    const std::map<QString, std::pair<QString, QString>> shortcuts
        = {{QStringLiteral("MenuDateiNeu"), {QStringLiteral("Strg+N"), QKeySequence(Qt::CTRL | Qt::Key_N).toString()}},
           {QStringLiteral("MenuDateiBeenden"),
            {QStringLiteral("Alt+F4"), QKeySequence(Qt::ALT | Qt::Key_F4).toString()}}};
    int items = 0;
    for (QMenu* menu : f.menuBar()->findChildren<QMenu*>()) {
        QAccessibleInterface* menuIface = QAccessible::queryAccessibleInterface(menu);
        ASSERT_TRUE(menuIface);
        ASSERT_EQ(menuIface->childCount(), menu->actions().size());
        for (int i = 0; i < menuIface->childCount(); ++i) {
            const QAction* action = menu->actions().at(i);
            QAccessibleInterface* item = menuIface->child(i);
            ASSERT_TRUE(item);
            ++items;
            const std::string what = action->objectName().toStdString();
            const QString caption = action->text().remove(QLatin1Char('&'));
            EXPECT_EQ(item->text(QAccessible::Name), caption) << what;
            EXPECT_FALSE(item->text(QAccessible::Name).contains(QLatin1Char('\t'))) << what;
            ASSERT_TRUE(item->actionInterface()) << what;
            // The bridge's key binding: the action's own, else the item's accelerator text.
            QStringList bindings
                = item->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::pressAction());
            if (bindings.isEmpty() && !item->text(QAccessible::Accelerator).isEmpty())
                bindings << item->text(QAccessible::Accelerator);
            const QString shown = MenuItemOption::of(*menu, action).text;
            const auto known = shortcuts.find(action->objectName());
            if (known == shortcuts.end()) {
                EXPECT_EQ(shown, action->text()) << what;
            } else {
                EXPECT_EQ(bindings, QStringList{known->second.second}) << what;
                EXPECT_EQ(shown, action->text() + QLatin1Char('\t') + known->second.first) << what;
            }
        }
    }
    EXPECT_GE(items, 10);

    // Through the accessibility bus as a screen reader asks: the item's name and key binding.
    if (qEnvironmentVariableIsSet("ZARNOLITH_REQUIRE_ACCESSIBILITY")) {
        ASSERT_TRUE(QTest::qWaitFor([] { return QAccessible::isActive(); }, 5000));
        const auto ask = [](const QStringList& arguments) {
            QProcess p;
            p.start(QStringLiteral("dbus-send"), QStringList{QStringLiteral("--print-reply=literal")} + arguments);
            // The answer comes from this process's own event loop.
            if (!QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 20000))
                ADD_FAILURE() << "dbus-send did not answer: " << arguments.join(u' ').toStdString();
            return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
        };
        const QString bus = QStringLiteral("--bus=")
            + ask({QStringLiteral("--session"), QStringLiteral("--dest=org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                   QStringLiteral("org.a11y.Bus.GetAddress")});
        // This process's connection to the accessibility bus, found by its process id.
        const auto daemon = [&](const QString& method, const QString& argument) {
            QStringList arguments{bus, QStringLiteral("--dest=org.freedesktop.DBus"),
                                  QStringLiteral("/org/freedesktop/DBus"),
                                  QStringLiteral("org.freedesktop.DBus.") + method};
            if (!argument.isEmpty())
                arguments << argument;
            return ask(arguments);
        };
        QString dest;
        auto names = QRegularExpression(QStringLiteral(":[0-9]+\\.[0-9]+"))
                         .globalMatch(daemon(QStringLiteral("ListNames"), QString()));
        while (names.hasNext() && dest.isEmpty()) {
            const QString name = names.next().captured();
            if (daemon(QStringLiteral("GetConnectionUnixProcessID"), QStringLiteral("string:") + name)
                    .endsWith(QLatin1Char(' ') + QString::number(QCoreApplication::applicationPid())))
                dest = QStringLiteral("--dest=") + name;
        }
        ASSERT_FALSE(dest.isEmpty()) << "no connection of this process on the accessibility bus";
        for (QAction* action : {f.MenuDateiNeu, f.MenuDateiBeenden}) {
            QAccessibleInterface* item = QAccessible::queryAccessibleInterface(action);
            ASSERT_TRUE(item);
            const QString path
                = QStringLiteral("/org/a11y/atspi/accessible/") + QString::number(QAccessible::uniqueId(item));
            const QString name
                = ask({bus, dest, path, QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                       QStringLiteral("string:org.a11y.atspi.Accessible"), QStringLiteral("string:Name")});
            EXPECT_TRUE(name.endsWith(action->text().remove(QLatin1Char('&')))) << name.toStdString();
            EXPECT_FALSE(name.contains(QLatin1Char('\t'))) << name.toStdString();
            EXPECT_EQ(ask({bus, dest, path, QStringLiteral("org.a11y.atspi.Action.GetKeyBinding"),
                           QStringLiteral("int32:0")}),
                      shortcuts.at(action->objectName()).second);
        }
    }
    for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

// ---- Keyboard alone -----------------------------------------------------------

struct MenuRow {
    Qt::Key letter;
    const char* menu;
};

class MenuKeys : public ::testing::TestWithParam<MenuRow> {};

TEST_P(MenuKeys, AltLetterOpensTheMenuAndTheArrowKeysReachEveryItem)
{
    Windows w;
    TForm1& f = *w.form;
    f.show();
    f.Timer1->stop();
    QApplication::setActiveWindow(&f);
    QMenu* menu = f.findChild<QMenu*>(QString::fromLatin1(GetParam().menu));
    ASSERT_TRUE(menu);

    QTest::keyClick(&f, GetParam().letter, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000));

    std::set<QAction*> reached;
    std::set<QAction*> items;
    for (QAction* a : menu->actions())
        if (a->isVisible() && a->isEnabled() && !a->isSeparator())
            items.insert(a);
    for (std::size_t i = 0; i < 2 * items.size() && reached.size() < items.size(); ++i) {
        QTest::keyClick(menu, Qt::Key_Down);
        if (menu->activeAction())
            reached.insert(menu->activeAction());
    }
    EXPECT_EQ(reached, items);
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([menu] { return !menu->isVisible(); }, 1000));
}

INSTANTIATE_TEST_SUITE_P(Menus, MenuKeys,
                         ::testing::Values(MenuRow{Qt::Key_D, "MenuDatei"}, MenuRow{Qt::Key_A, "MenuAns"},
                                           MenuRow{Qt::Key_H, "MenuHilfe"}));

} // namespace

#ifndef _WIN32
// ---- Over the accessibility bus, as a magnifier and a screen reader meet it ----

namespace {

using atspitest::Client;

// The scale the entry that runs this test set up (QT_SCALE_FACTOR, Xft.dpi);
// a run that silently came up at another scale would prove nothing.
qreal ExpectedScale()
{
    return qEnvironmentVariableIsSet("ZARNOLITH_EXPECT_SCALE") ? qgetenv("ZARNOLITH_EXPECT_SCALE").toDouble() : 1.0;
}

// Where X11 has the window's client area, in the screen's pixels.
QRect DrawnWindow(desktoptest::X11Probe& x11, QWidget* window)
{
    return x11.outer(static_cast<xcb_window_t>(window->winId())).value_or(QRect());
}

// Where a control of the window is drawn: its place in the window, scaled,
// from where X11 has the window.
QRect DrawnControl(const QRect& drawnWindow, QWidget* control, qreal scale)
{
    const QPoint inWindow = control->mapTo(control->window(), QPoint(0, 0));
    return {drawnWindow.topLeft() + inWindow * scale, control->size() * scale};
}

// Equal up to the rounding of a fractional scale (one pixel).
::testing::AssertionResult Near(const QRect& reported, const QRect& drawn, qreal scale)
{
    const int slack = scale == std::floor(scale) ? 0 : 1;
    if (std::abs(reported.x() - drawn.x()) <= slack && std::abs(reported.y() - drawn.y()) <= slack
        && std::abs(reported.width() - drawn.width()) <= slack && std::abs(reported.height() - drawn.height()) <= slack)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "reported " << reported.x() << ',' << reported.y() << ' '
                                         << reported.width() << 'x' << reported.height() << ", drawn " << drawn.x()
                                         << ',' << drawn.y() << ' ' << drawn.width() << 'x' << drawn.height()
                                         << " (scale " << scale << ')';
}

// Makes one event at will, after all that came before it: a change of name.
struct Marker {
    QLabel label;
    int count = 0;
    void operator()() { label.setAccessibleName(QStringLiteral("Markierung %1").arg(++count)); }
};

// These tests talk to the program over the accessibility bus of an X session
// (the test_app_screen_reader entries); without one they have nothing to ask.
bool InAnAtSpiSession()
{
    return qEnvironmentVariableIsSet("ZARNOLITH_REQUIRE_ACCESSIBILITY")
        && QGuiApplication::platformName() == QLatin1String("xcb");
}

bool Activate(QWidget* window)
{
    window->activateWindow();
    return QTest::qWaitForWindowActive(window, 5000);
}

} // namespace

TEST(ScreenReader, PositionsAreWhereTheWindowsAreDrawn)
{
    if (!InAnAtSpiSession())
        GTEST_SKIP() << "no accessibility bus here; test_app_screen_reader runs this with one";
    desktoptest::X11Probe x11;
    ASSERT_TRUE(x11.ok());
    Windows w;
    TForm1& f = *w.form;
    f.show();
    f.Timer1->stop();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    const qreal scale = f.screen()->devicePixelRatio();
    ASSERT_EQ(scale, ExpectedScale()) << "the session did not come up at the scale it was set up for";
    Client client;
    ASSERT_TRUE(client.ok()) << "no accessibility bus";
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.extents(&f).isValid(); }, 10000)) << "the bridge does not answer";

    // The start-values dialog, as it opens by itself.
    modaltest::actInModal<TPixelForm>(
        [&f] { f.MenuDateiNeuClick(); },
        [&](TPixelForm& d) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
            const QRect drawn = DrawnWindow(x11, &d);
            ASSERT_FALSE(drawn.isEmpty());
            EXPECT_EQ(client.extents(&d), drawn) << "dialog";
            EXPECT_TRUE(Near(client.extents(d.SpinEdit1), DrawnControl(drawn, d.SpinEdit1, scale), scale))
                << "dialog field";
            EXPECT_TRUE(Near(client.extents(d.Button1), DrawnControl(drawn, d.Button1, scale), scale)) << "OK";
            overtype(d.SpinEdit1, QStringLiteral("1920"));
            overtype(d.SpinEdit2, QStringLiteral("1080"));
            QTest::mouseClick(d.Button1, Qt::LeftButton);
        });
    ASSERT_EQ(PixelForm->result(), TPixelForm::mrOk);

    // The main window, a field, the focused control and its caret.
    ASSERT_TRUE(Activate(&f));
    f.SpinEdit1->editor()->setCursorPosition(2); // in "1920", before the "2"
    const QRect drawn = DrawnWindow(x11, &f);
    ASSERT_FALSE(drawn.isEmpty());
    EXPECT_EQ(client.extents(&f), drawn) << "main window";
    EXPECT_EQ(client.extents(&f, 1), QRect(QPoint(0, 0), drawn.size())) << "main window, window coordinates";
    EXPECT_TRUE(Near(client.extents(f.Edit1), DrawnControl(drawn, f.Edit1, scale), scale)) << "start width";
    QLineEdit* focused = f.SpinEdit1->editor();
    ASSERT_TRUE(focused->hasFocus());
    const QRect field = DrawnControl(drawn, focused, scale);
    EXPECT_TRUE(Near(client.extents(focused), field, scale)) << "focused field";
    EXPECT_TRUE(Near(client.extents(f.SpinEdit1), DrawnControl(drawn, f.SpinEdit1, scale), scale)) << "spin field";
    const QRect inWindow = client.extents(focused, 1);
    EXPECT_TRUE(Near(inWindow, field.translated(-drawn.topLeft()), scale)) << "focused field, window coordinates";

    // The caret and the character after it, where the field draws them.
    const int caret = focused->cursorPosition();
    ASSERT_EQ(caret, 2);
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(focused);
    const QRect logical = text->textInterface()->characterRect(caret);
    ASSERT_FALSE(logical.isEmpty());
    const QPoint logicalWindow = f.mapToGlobal(QPoint(0, 0));
    const QRect drawnCaret(drawn.topLeft() + (logical.topLeft() - logicalWindow) * scale, logical.size() * scale);
    const QRect reportedCaret = client.characterExtents(focused, caret);
    EXPECT_TRUE(Near(reportedCaret, drawnCaret, scale)) << "caret";
    EXPECT_TRUE(field.adjusted(-1, -1, 1, 1).contains(reportedCaret)) << "caret outside its field";
    EXPECT_LE(std::abs(reportedCaret.height() - QFontMetrics(focused->font()).height() * scale), 1.0);

    // After the last character, where the caret stands after typing, it is the caret that is drawn.
    const QRect lastCharacter = client.characterExtents(focused, 3);
    focused->setCursorPosition(4);
    const QRect atTheEnd = client.characterExtents(focused, 4);
    EXPECT_FALSE(atTheEnd.isEmpty()) << "no position for the caret at the end";
    EXPECT_TRUE(field.adjusted(-1, -1, 1, 1).contains(atTheEnd)) << "caret at the end outside its field";
    const int edge = lastCharacter.x() + lastCharacter.width(); // where the caret line is drawn
    EXPECT_TRUE(atTheEnd.left() - 1 <= edge && edge <= atTheEnd.right() + 1) << "caret at the end, not at " << edge;
}

TEST(ScreenReader, TheComputedFieldMovesNoCaretWhileTheOtherIsTyped)
{
    if (!InAnAtSpiSession())
        GTEST_SKIP() << "no accessibility bus here; test_app_screen_reader runs this with one";
    Windows w;
    TForm1& f = *w.form;
    f.show();
    f.Timer1->stop();
    ASSERT_EQ(enterStartValues(f, QStringLiteral("1920"), QStringLiteral("1080")), TPixelForm::mrOk);
    ASSERT_TRUE(Activate(&f));
    QLineEdit* typed = f.SpinEdit1->editor();
    QLineEdit* computed = f.SpinEdit2->editor();
    ASSERT_TRUE(typed->hasFocus());
    Client client;
    ASSERT_TRUE(client.ok()) << "no accessibility bus";
    Marker marker;
    ASSERT_TRUE(client.listen(&marker.label, [&] { marker(); })) << "no events from the program";

    typed->selectAll();
    // What the start values and the selection sent must be in before the first count.
    (void)client.settle(&marker.label, [&] { marker(); });
    const QString computedPath = Client::pathOf(computed);
    const QString typedPath = Client::pathOf(typed);
    int caretMoves = 0, typedCaretMoves = 0;
    QString text;
    for (const QString& key : {QStringLiteral("8"), QStringLiteral("0"), QStringLiteral("0")}) {
        client.clear();
        text = (typed->hasSelectedText() ? QString() : typed->text()) + key;
        QTest::keyClicks(typed, key);
        // With a screen reader listening, Qt's bridge offers each key to it first
        // and hands it on to the field afterwards.
        ASSERT_TRUE(QTest::qWaitFor([&] { return typed->text() == text; }, 5000)) << typed->text().toStdString();
        for (const atspitest::Event& e : client.settle(&marker.label, [&] { marker(); })) {
            caretMoves += e.path == computedPath && e.member == QLatin1String("TextCaretMoved");
            typedCaretMoves += e.path == typedPath && e.member == QLatin1String("TextCaretMoved");
        }
    }
    EXPECT_EQ(f.SpinEdit2->text(), QStringLiteral("449"));
    EXPECT_EQ(caretMoves, 0) << "caret moves from the unfocused computed field in three keystrokes";
    // The field that is typed into still reports its caret.
    EXPECT_GE(typedCaretMoves, 2);
}

// After OK the main window is active again and the keyboard is in the new
// width. The window manager's activation of the main window can come while
// the dialog's loop takes its last turn, before the command goes on: that is
// made to happen here, right as the dialog ends.
TEST(ScreenReader, AfterOkTheFocusGoesStraightToTheNewWidth)
{
    if (!InAnAtSpiSession())
        GTEST_SKIP() << "no accessibility bus here; test_app_screen_reader runs this with one";
    Windows w;
    TForm1& f = *w.form;
    f.show();
    f.Timer1->stop();
    ASSERT_TRUE(Activate(&f));
    ASSERT_TRUE(f.Edit1->hasFocus()); // where the window starts
    Client client;
    ASSERT_TRUE(client.ok()) << "no accessibility bus";
    Marker marker;
    ASSERT_TRUE(client.listen(&marker.label, [&] { marker(); })) << "no events from the program";
    const QMetaObject::Connection activation = QObject::connect(PixelForm, &QDialog::finished, &f, [&f] {
        QApplication::setActiveWindow(&f); // as the window manager's activation does
    });

    const std::map<QString, std::string> others = {{Client::pathOf(f.Edit1), "Startwert-Bildbreite"},
                                                   {Client::pathOf(f.Edit2), "Startwert-Bildhoehe"},
                                                   {Client::pathOf(f.Button1), "Neue Startwerte"}};
    QLineEdit* target = f.SpinEdit1->editor();
    const QString targetPath = Client::pathOf(target);
    const QString targetSpin = Client::pathOf(f.SpinEdit1);
    for (int opening = 0; opening < 2; ++opening) {
        modaltest::actInModal<TPixelForm>([&f] { f.MenuDateiNeuClick(); },
                                          [&](TPixelForm& d) {
                                              overtype(d.SpinEdit1, QStringLiteral("1024"));
                                              overtype(d.SpinEdit2, QStringLiteral("768"));
                                              // The bus delivers late on a busy machine: the focus
                                              // events of the last opening and of this dialog's
                                              // showing must be in before they are dropped, or
                                              // they count as the focus after OK.
                                              (void)client.settle(&marker.label, [&] { marker(); });
                                              client.clear();
                                              d.Button1->click();
                                          });
        ASSERT_EQ(PixelForm->result(), TPixelForm::mrOk);
        ASSERT_TRUE(target->hasFocus()) << "opening " << opening;
        std::vector<QString> focused;
        for (const atspitest::Event& e : client.settle(&marker.label, [&] { marker(); }))
            if (e.member == QLatin1String("StateChanged") && e.detail == QLatin1String("focused") && e.value == 1)
                focused.push_back(e.path);
        for (const QString& path : focused)
            EXPECT_FALSE(others.contains(path)) << "opening " << opening << ": the focus visited " << others.at(path);
        ASSERT_FALSE(focused.empty()) << "opening " << opening << ": no focus event after OK";
        EXPECT_TRUE(focused.back() == targetPath || focused.back() == targetSpin)
            << "opening " << opening << ": the focus ended on " << focused.back().toStdString();
        f.Edit2->setFocus(); // somewhere else before the next opening
    }
    QObject::disconnect(activation);
}
#endif
