#include "app/ZarnolithApplication.h"

#include "app/FocusFrameStyle.h"
#include "app/OverflowArrowStyle.h"

#include <QMessageBox>
#include <exception>

namespace {
ZarnolithApplication::ErrorBox g_errorBox;
}

ZarnolithApplication::ZarnolithApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    // The desktop's style, with a visible focus frame and overflow arrows drawn, not loaded.
    QApplication::setStyle(new FocusFrameStyle(new OverflowArrowStyle(QApplication::style())));
}

bool ZarnolithApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    Guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

void ZarnolithApplication::Guarded(const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& e) {
        ShowException(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowException(QStringLiteral("Unbekannter Fehler"));
    }
}

void ZarnolithApplication::ShowException(const QString& message)
{
    if (g_errorBox) {
        g_errorBox(message);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Fehler"), message, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

ZarnolithApplication::ErrorBox ZarnolithApplication::SetErrorBoxHook(ErrorBox hook)
{
    return std::exchange(g_errorBox, std::move(hook));
}
