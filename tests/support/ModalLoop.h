#pragma once
// Acting from inside a modal window's own loop: a test opens a dialog or a
// message box the way the program does (a command, exec()) and drives it with
// real input while its loop runs. A window that does not show, or is still
// open after the action, fails the test within seconds and is closed here, so
// a broken dialog never hangs the suite; a check that fails inside the action
// fails the test and closes the window at once.
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace modaltest {

// How long the window may take to become the modal one, and how long the
// action plus the closing it causes may take (a button's accelerator clicks
// with a short animation, a busy machine is slow).
inline constexpr int ShowLimitMs = 5000;
inline constexpr int CloseLimitMs = 5000;
// What a window that may stay open gets after the action before it counts as
// having stayed open: covers delayed effects of a key (an accelerator's click
// animation lasts 100 ms). Used only for that negative finding.
inline constexpr int StayOpenSettleMs = 300;

enum class Closing {
    Required,   // the action must close the window
    MayStayOpen // staying open is a result the test asks for (the window is then closed here)
};

struct Outcome {
    bool shown = false;      // the action ran inside the window's loop
    bool stayedOpen = false; // with MayStayOpen: still open after the action, closed here
};

// "QMessageBox 'Fehler': text" for failure messages.
inline std::string describe(const QWidget* w)
{
    if (!w)
        return "no window";
    std::string s = std::string(w->metaObject()->className()) + " '" + w->windowTitle().toStdString() + "'";
    if (const auto* box = qobject_cast<const QMessageBox*>(w))
        s += ": " + box->text().toStdString();
    return s;
}

// Closes modal windows from the top down until `last` is closed (all of them
// when `last` is null, none above it when `stopBelow`). A dialog is ended
// through QDialog's own done(), which an override cannot stop.
inline void closeModalWindows(const QWidget* last, bool stopBelow = false)
{
    for (int guard = 0; guard < 16; ++guard) {
        QWidget* top = QApplication::activeModalWidget();
        if (!top || (stopBelow && top == last))
            return;
        if (auto* d = qobject_cast<QDialog*>(top))
            d->QDialog::done(QDialog::Rejected);
        else
            top->close();
        if (top->isVisible())
            top->hide();
        if (top == last)
            return;
    }
}

// Calls `open`, which shows a modal window of class W (and usually returns once
// it has closed; it may also return earlier, when the window opens later by
// itself), and runs `action` on that window from inside its loop once it is the
// active modal window. Returns when the window has closed.
template <class W>
Outcome actInModal(const std::function<void()>& open, const std::function<void(W&)>& action,
                   Closing closing = Closing::Required)
{
    const char* const kind = W::staticMetaObject.className();
    Outcome outcome;
    QPointer<W> window;
    bool acting = false, acted = false, finished = false;
    QTimer poll, watchdog;
    watchdog.setSingleShot(true);

    const auto finish = [&] {
        finished = true;
        poll.stop();
        watchdog.stop();
    };
    const auto checkClosed = [&] {
        if (acted && (!window || !window->isVisible()))
            finish();
    };
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (acted) {
            checkClosed();
            return;
        }
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!w || !w->isVisible())
            return;
        window = w;
        outcome.shown = true;
        // Activation comes asynchronously offscreen; keys and shortcuts need the active window now.
        QApplication::setActiveWindow(w);
        acting = true;
        watchdog.start(CloseLimitMs);
        action(*w);
        acting = false;
        acted = true;
        if (!window || !window->isVisible()) {
            finish();
            return;
        }
        if (::testing::Test::HasFatalFailure()) {
            // A check inside the action failed: the test has failed, end the window now.
            closeModalWindows(window);
            finish();
        } else if (closing == Closing::MayStayOpen) {
            QTest::qWait(StayOpenSettleMs);
            if (window && window->isVisible()) {
                outcome.stayedOpen = true;
                closeModalWindows(window);
            }
            finish();
        }
    });
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (acting) {
            // The action is stuck in a nested loop: a window it opened that nobody closes.
            ADD_FAILURE() << "the action on the " << kind << " did not come back within " << CloseLimitMs
                          << " ms; closed " << describe(QApplication::activeModalWidget());
            closeModalWindows(window, true);
            watchdog.start(CloseLimitMs);
        } else if (!acted) {
            ADD_FAILURE() << "no " << kind << " became the modal window within " << ShowLimitMs
                          << " ms (modal now: " << describe(QApplication::activeModalWidget()) << ")";
            closeModalWindows(nullptr);
            finish();
        } else {
            ADD_FAILURE() << describe(window) << " still open " << CloseLimitMs << " ms after the action";
            closeModalWindows(window);
            finish();
        }
    });
    poll.start(5);
    watchdog.start(ShowLimitMs);
    open();
    checkClosed();
    // Covers an `open` that returns before the window shows; the watchdog ends this in any case.
    if (!QTest::qWaitFor([&] { return finished; }, ShowLimitMs + 2 * CloseLimitMs))
        ADD_FAILURE() << "the " << kind << " never finished";
    poll.stop();
    watchdog.stop();
    return outcome;
}

// For the span of a test that expects no modal window at all: one that opens
// anyway (a timer's dialog, a box) would run its own loop inside the test's
// next wait and never return. While this lives, such a window fails the test
// with its class and title and is closed at once.
class NoModalWindow {
public:
    NoModalWindow()
    {
        QObject::connect(&m_poll, &QTimer::timeout, [] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "unexpected modal window: " << describe(w);
                closeModalWindows(nullptr);
            }
        });
        m_poll.start(5);
    }
    NoModalWindow(const NoModalWindow&) = delete;
    NoModalWindow& operator=(const NoModalWindow&) = delete;

private:
    QTimer m_poll;
};

// The same for an action that needs no reference to the window.
template <class W>
Outcome actInModal(const std::function<void()>& open, const std::function<void()>& action,
                   Closing closing = Closing::Required)
{
    return actInModal<W>(open, std::function<void(W&)>([&action](W&) { action(); }), closing);
}

} // namespace modaltest
