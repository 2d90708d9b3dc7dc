#pragma once
// The three windows as the program shows them, for the contrast tests: the
// main window, the start-values dialog and the background dialog, one shown
// at a time (on a real display a window in front would be measured instead),
// with the display font at a given size and each background in turn.
#include "ContrastMeasure.h"

#include "app/WindowTestSupport.h"
#include "appearance/ColorTable.h"
#include "appearance/THintergrundForm.h"
#include "appearance/TListBox.h"
#include "controls/SpinButtons.h"

#include <QLabel>
#include <QStatusBar>
#include <QStyle>
#include <gtest/gtest.h>

#include <string>

namespace lowvision {

inline std::string colourName(int nr)
{
    const std::u16string_view n = FarbNamen[static_cast<std::size_t>(nr)];
    return QString::fromUtf16(n.data(), static_cast<qsizetype>(n.size())).toStdString();
}

inline QColor tableColour(int nr) { return ColorValue{FarbWerte[static_cast<std::size_t>(nr)]}.toQColor(); }

// The scheme the session runs in, for the messages.
inline const char* schemeName() { return qgetenv("ZARNOLITH_TEST_SCHEME") == "dark" ? "dark" : "light"; }

// Shows `window` in front, the windows `others` hidden, and waits until it is
// on screen and painted. The main window is never hidden: each showing of it
// loads the settings anew and starts the start-values dialog's timer.
inline void showAlone(QWidget* window, std::initializer_list<QWidget*> others)
{
    for (QWidget* o : others)
        if (o != window)
            o->hide();
    window->show();
    window->raise();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    // Up to half a minute: on a busy machine the window manager may take that long to frame
    // it, and the program waits for its answer about the frame before the window is shown.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window, 30000));
    // Not QTest::qWaitForWindowActive: Qt counts a dialog as active while its
    // owner has the focus, so on a window manager that is slow to answer it
    // returns before the dialog has the keyboard. A control of a window that
    // is not the active one does not take the focus, nor draws its frame.
    // The system's own word counts (the focus window), not only the toolkit's
    // setActiveWindow above: a hidden window hands the activation to its
    // owner by a message that may come late, and once the system has made
    // `window` active that earlier message has been handled.
    ASSERT_TRUE(QTest::qWaitFor(
        [window] {
            return QApplication::activeWindow() == window && QGuiApplication::focusWindow() == window->windowHandle();
        },
        10000))
        << window->windowTitle().toStdString() << " did not become the active window; active: "
        << (QApplication::activeWindow() ? QApplication::activeWindow()->windowTitle().toStdString() : "none");
    window->repaint();
    QApplication::processEvents();
}

// On a real display only what lies on the screen can be read back.
inline bool onScreen(const QWidget* w, const QRect& part)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return true;
    const QRect global(w->mapToGlobal(part.topLeft()), part.size());
    return w->screen() && w->screen()->geometry().contains(global);
}
inline bool onScreen(const QWidget* w) { return onScreen(w, w->rect()); }

// The area of an edit field inside its frame, left of `rightEdge` (the arrow
// strip of a number field), where only its background and text are drawn.
inline QRect fieldTextArea(const QWidget* field, int rightEdge)
{
    const int frame = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, field) + 1;
    QRect r = field->rect().adjusted(frame, frame, -frame, -frame);
    r.setRight(std::min(r.right(), rightEdge - 1));
    return r;
}

// The program's display font at `points`, Arial, in the system's window-text colour.
inline void setDisplayFont(int points)
{
    ASSERT_NE(AnzeigeSchrift, nullptr);
    AnzeigeSchrift->Name = QStringLiteral("Arial");
    AnzeigeSchrift->setSize(points);
    AnzeigeSchrift->Color = ColorValue{ColorValue::clWindowText};
    AnzeigeSchrift->Style = {};
}

// The main window, shown, without the start-values dialog opening by itself.
inline void showMainWindow(windowtest::Windows& w)
{
    w.form->show();
    w.form->Timer1->stop();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.form.get(), 30000));
}

} // namespace lowvision
