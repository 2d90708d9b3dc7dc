#pragma once
// The application object. Any exception that escapes an event handler or a
// command ends that handler only: it is shown in the standard error box and
// the program goes on.
#include <QApplication>
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
};
