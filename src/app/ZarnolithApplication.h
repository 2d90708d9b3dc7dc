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

// Where an error is shown. The application and each window are handed theirs
// when they are made; tests hand in one that records the message.
class IErrorBox {
public:
    virtual ~IErrorBox() = default;
    virtual void ShowException(const QString& message) = 0;
};

class ZarnolithApplication : public QApplication {
    Q_OBJECT
public:
    // errorBox: where an exception that escapes an event handler is shown.
    ZarnolithApplication(int& argc, char** argv, IErrorBox& errorBox = StandardErrorBox());

    bool notify(QObject* receiver, QEvent* event) override;

    // The modal error box: the message, the error icon, one "OK" button.
    static void ShowException(const QString& message);
    // That box as the program's windows are handed it.
    static IErrorBox& StandardErrorBox();

    // What the box says for an exception: the program's own errors carry their
    // German text; a library's text (English, meant for developers) never
    // reaches the user, who gets a German message instead.
    static QString MessageOf(const std::exception& e);

    // Runs the command; an exception ends it here and is shown in errorBox.
    static void Guarded(const std::function<void()>& command, IErrorBox& errorBox);

    // For connect(): a slot that runs (receiver->*command)() through Guarded.
    template <typename Receiver>
    static auto GuardedSlot(Receiver* receiver, void (Receiver::*command)(), IErrorBox& errorBox)
    {
        return [receiver, command, &errorBox] { Guarded([receiver, command] { (receiver->*command)(); }, errorBox); };
    }

private:
    IErrorBox& m_errorBox;
};
