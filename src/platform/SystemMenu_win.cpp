#include "platform/SystemMenu.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

#include <windows.h>

namespace platform {
namespace {

void deleteSizeCommand(WId window)
{
    // Only Windows' own windows have a system menu (the test platform's ids are no HWNDs).
    if (window == 0 || QGuiApplication::platformName() != QLatin1String("windows"))
        return;
    if (const HMENU menu = ::GetSystemMenu(reinterpret_cast<HWND>(window), FALSE))
        ::DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
}

// Each native window has a system menu of its own, made with the window: the
// command is taken out whenever Qt gives the widget a (new) native window.
class SizeCommandRemover final : public QObject {
public:
    explicit SizeCommandRemover(QWidget& window) : QObject(&window) { window.installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WinIdChange)
            deleteSizeCommand(static_cast<QWidget*>(watched)->internalWinId());
        return false;
    }
};

} // namespace

void RemoveSizeCommand(QWidget& window)
{
    new SizeCommandRemover(window);
    deleteSizeCommand(window.internalWinId());
}

} // namespace platform
