#pragma once
// The application object. It installs the program's style (the desktop's, with
// a visible focus frame on push buttons and the menu bar's overflow arrows
// drawn). Any exception that escapes an event handler or a command ends that
// handler only: it is shown in the standard error box and the program goes on.
//
// Commands that the toolkit calls through a signal (clicks, menu items, a
// field's change handler) run through Guarded: the toolkit's own frames between
// the event and the slot have no exception cleanup, so an exception must stop
// before them, or their locals leak and their state (a pressed button, a line
// edit halfway through a key) stays half-changed. notify() catches the rest.
#include <QApplication>
#include <exception>
#include <functional>

class ZarnolithApplication : public QApplication {
    Q_OBJECT
public:
    using ErrorBox = std::function<void(const QString& message)>;

    ZarnolithApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The modal error box: the message, the error icon, one "OK" button.
    static void ShowException(const QString& message);
    // Replaces the box (tests record the message); empty restores it. Returns the previous one.
    static ErrorBox SetErrorBoxHook(ErrorBox hook);

    // What the box says for an exception: the program's own errors carry their
    // German text; a library's text (English, meant for developers) never
    // reaches the user, who gets a German message instead.
    static QString MessageOf(const std::exception& e);

    // Runs the command; an exception ends it here and is shown in the error box.
    static void Guarded(const std::function<void()>& command);

    // For connect(): a slot that runs (receiver->*command)() through Guarded.
    template <typename Receiver>
    static auto GuardedSlot(Receiver* receiver, void (Receiver::*command)())
    {
        return [receiver, command] { Guarded([receiver, command] { (receiver->*command)(); }); };
    }
};
