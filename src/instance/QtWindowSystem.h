#pragma once
// The window-system calls on our own Qt windows. Handles are widget
// addresses, checked against the living top-level widgets before each use.
// What the desktop allows decides the effect: restoring, raising and
// activation requests work on X11 and offscreen (on X11 with a window manager
// as a request on the user's behalf, which takes the keyboard from another
// program); a Wayland compositor may refuse activation, which is fine, as
// results are ignored.
#include "instance/QtFormTree.h"
#include "instance/WindowSystem.h"

class QWidget;

namespace instance {

class QtWindowSystem final : public instance::WindowSystem {
public:
    // The walk of FindWindowW/GetWindowNext follows the forms of tree.
    explicit QtWindowSystem(QtFormTree& tree) : m_tree(tree) {}

    static instance::WindowHandle HandleOf(QWidget* window);
    static QWidget* WidgetOf(instance::WindowHandle window);

    instance::WindowHandle FindWindowW() override;
    instance::WindowHandle GetWindowNext(instance::WindowHandle window) override;
    int GetWindowTextW(instance::WindowHandle window, char16_t* buffer, int maxCount) override;
    bool PostMessageW(instance::WindowHandle window, unsigned message, std::uintptr_t wParam,
                      std::intptr_t lParam) override;

    bool IsIconic(instance::WindowHandle window) override;
    bool ShowWindow(instance::WindowHandle window, instance::ShowCommand command) override;
    instance::WindowHandle GetForegroundWindow() override;
    instance::ThreadId GetWindowThreadProcessId(instance::WindowHandle window) override;
    instance::ProcessId GetWindowProcessId(instance::WindowHandle window) override;
    bool AllowSetForegroundWindow(instance::ProcessId process) override;
    bool AttachThreadInput(instance::ThreadId attach, instance::ThreadId attachTo, bool doAttach) override;
    bool BringWindowToTop(instance::WindowHandle window) override;
    bool SetForegroundWindow(instance::WindowHandle window) override;
    bool SystemParametersInfoW(instance::SystemParameter action, unsigned uiParam, void* pvParam,
                               instance::ParameterUpdate winIni) override;
    instance::OsVersion GetVersion() override;

private:
    QtFormTree& m_tree;
    // The window this walk last asked to become the foreground window. The
    // window system carries the request out after the walk; until Qt hears of
    // it, this window counts as the foreground window, as it would on Windows.
    instance::WindowHandle m_requested = 0;
};

// WM_AKTIVIEREN: the application's forms to the front, depth first, so that
// an open dialog ends up on top. Qt has no hidden application window, so the
// walk alone does the work. On Windows the forms' native windows are brought
// forward with the system's own calls; elsewhere through QtWindowSystem.
void BringApplicationToFront(const QList<QPointer<QWidget>>& applicationForms);

// The titles of all the application's forms, in walk order (UTF-8).
std::vector<std::string> ApplicationWindowTitles(const QList<QPointer<QWidget>>& applicationForms);

} // namespace instance
