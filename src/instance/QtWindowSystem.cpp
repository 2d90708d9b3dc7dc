#include "instance/QtWindowSystem.h"

#include "instance/InstanceLog.h"
#include "platform/X11Window.h"
#ifdef _WIN32
#include "instance/WindowSystem.h"
#endif

#include <QApplication>
#include <QWidget>
#include <algorithm>

namespace instance {

using instance::WindowHandle;

WindowHandle QtWindowSystem::HandleOf(QWidget* window) { return reinterpret_cast<WindowHandle>(window); }

QWidget* QtWindowSystem::WidgetOf(WindowHandle window)
{
    if (window == 0)
        return nullptr;
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto it
        = std::find_if(windows.begin(), windows.end(), [window](QWidget* w) { return HandleOf(w) == window; });
    return it == windows.end() ? nullptr : *it;
}

WindowHandle QtWindowSystem::FindWindowW()
{
    const auto forms = m_tree.AllForms();
    return forms.empty() ? 0 : HandleOf(forms.front());
}

WindowHandle QtWindowSystem::GetWindowNext(WindowHandle window)
{
    const auto forms = m_tree.AllForms();
    auto it = std::find_if(forms.begin(), forms.end(), [window](QWidget* w) { return HandleOf(w) == window; });
    if (it == forms.end() || ++it == forms.end())
        return 0;
    return HandleOf(*it);
}

int QtWindowSystem::GetWindowTextW(WindowHandle window, char16_t* buffer, int maxCount)
{
    QWidget* w = WidgetOf(window);
    return instance::CopyWindowText(w ? w->windowTitle().toStdU16String() : std::u16string(), buffer, maxCount);
}

bool QtWindowSystem::PostMessageW(WindowHandle, unsigned, std::uintptr_t, std::intptr_t)
{
    return false; // our windows take messages only through their channel
}

bool QtWindowSystem::IsIconic(WindowHandle window)
{
    QWidget* w = WidgetOf(window);
    // The first question asked of every window brought forward: the trace names them in order.
    if (w)
        qCDebug(lcInstance) << "forward:" << w->windowTitle();
    return w && w->isMinimized();
}

bool QtWindowSystem::ShowWindow(WindowHandle window, instance::ShowCommand command)
{
    QWidget* w = WidgetOf(window);
    if (!w || command != instance::ShowCommand::Restore)
        return false;
    // Back to the state before minimising (a maximised window stays maximised).
    w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    return true;
}

WindowHandle QtWindowSystem::GetForegroundWindow()
{
    if (m_requested != 0 && WidgetOf(m_requested))
        return m_requested;
    return HandleOf(QApplication::activeWindow());
}

instance::ThreadId QtWindowSystem::GetWindowThreadProcessId(WindowHandle window)
{
    // All our windows live on the one UI thread; a window of another program is unknown here.
    return WidgetOf(window) ? 1 : 0;
}

instance::ProcessId QtWindowSystem::GetWindowProcessId(WindowHandle window)
{
    // Our own windows belong to this process; which number it has does not matter here.
    return WidgetOf(window) ? 1 : 0;
}

bool QtWindowSystem::AllowSetForegroundWindow(instance::ProcessId)
{
    return false; // our own windows need no right handed on
}

bool QtWindowSystem::AttachThreadInput(instance::ThreadId, instance::ThreadId, bool)
{
    return false; // no input queues to join; the one plain attempt follows
}

bool QtWindowSystem::BringWindowToTop(WindowHandle window)
{
    QWidget* w = WidgetOf(window);
    if (w)
        w->raise();
    return w != nullptr;
}

bool QtWindowSystem::SetForegroundWindow(WindowHandle window)
{
    QWidget* w = WidgetOf(window);
    if (!w)
        return false;
    m_requested = window;
    // A window that a modal dialog blocks takes no keys. Handing it the
    // keyboard on the way to the dialog, which is brought forward after it,
    // would only lose what the user types in between; it is raised all the same.
    if (const QWidget* modal = QApplication::activeModalWidget(); modal && modal != w && !modal->isAncestorOf(w))
        return true;
    // Qt's own request on X11 carries the time of the last input our windows
    // saw, which a window manager may refuse in favour of another program.
    if (!platform::X11Activate(w->internalWinId()))
        w->activateWindow();
    return true;
}

bool QtWindowSystem::SystemParametersInfoW(instance::SystemParameter, unsigned, void*, instance::ParameterUpdate)
{
    return false; // the desktop has no foreground lock time-out to read or set
}

instance::OsVersion QtWindowSystem::GetVersion()
{
    // Current desktops behave as the current NT family: the attaching method.
    return {instance::PlatformId::Win32Nt, 10, 0};
}

void BringApplicationToFront(const QList<QPointer<QWidget>>& applicationForms)
{
#ifdef _WIN32
    // The forms' own windows, through the desktop's window manager itself.
    QtFormTree tree(applicationForms, QtFormTree::Handles::Native);
    instance::Win32WindowSystem ws;
#else
    QtFormTree tree(applicationForms);
    QtWindowSystem ws(tree);
#endif
    RaiseApplication(ws, tree, 0, tree.Application());
}

std::vector<std::string> ApplicationWindowTitles(const QList<QPointer<QWidget>>& applicationForms)
{
    QtFormTree tree(applicationForms);
    std::vector<std::string> title;
    for (QWidget* w : tree.AllForms())
        title.push_back(w->windowTitle().toStdString());
    return title;
}

} // namespace instance
