#include "instance/Foreground.h"

#include <cstdint>

namespace instance {

bool UseAttachMethod(const OsVersion& v)
{
    if (v.platformId == PlatformId::Win32Nt)
        return v.major > 4;
    if (v.platformId == PlatformId::Win32Windows)
        return v.major > 4 || (v.major == 4 && v.minor > 0);
    return false;
}

namespace {

void BringToFront(WindowSystem& ws, WindowHandle window)
{
    ws.BringWindowToTop(window);
    ws.SetForegroundWindow(window);
}

bool WithAttach(WindowSystem& ws, WindowHandle window)
{
    const ThreadId foreground = ws.GetWindowThreadProcessId(ws.GetForegroundWindow());
    const ThreadId target = ws.GetWindowThreadProcessId(window);
    if (foreground == target) {
        // The window's own thread has the foreground already (a dialog after
        // its main window): nothing to join, and a thread attached to itself
        // fails, which would lift the foreground lock for nothing.
        BringToFront(ws, window);
        return ws.GetForegroundWindow() == window;
    }
    if (!ws.AttachThreadInput(target, foreground, true))
        return false;
    BringToFront(ws, window);
    ws.AttachThreadInput(target, foreground, false);
    return ws.GetForegroundWindow() == window;
}

void WithoutForegroundLock(WindowSystem& ws, WindowHandle window)
{
    std::uint32_t remembered = 0;
    if (!ws.SystemParametersInfoW(SystemParameter::GetForegroundLockTimeout, 0, &remembered, ParameterUpdate::None)) {
        // Without the value in force there is nothing safe to set back; the
        // user's setting is left alone and only the plain attempt is made.
        BringToFront(ws, window);
        return;
    }
    ws.SystemParametersInfoW(SystemParameter::SetForegroundLockTimeout, 0, nullptr, ParameterUpdate::SendChange);
    BringToFront(ws, window);
    ws.SystemParametersInfoW(SystemParameter::SetForegroundLockTimeout, 0,
                             reinterpret_cast<void*>(static_cast<std::uintptr_t>(remembered)),
                             ParameterUpdate::SendChange);
}

} // namespace

bool FensterInVordergrund(WindowSystem& ws, WindowHandle window)
{
    if (ws.IsIconic(window))
        ws.ShowWindow(window, ShowCommand::Restore);
    if (ws.GetForegroundWindow() == window)
        return true;
    if (UseAttachMethod(ws.GetVersion())) {
        if (!WithAttach(ws, window))
            WithoutForegroundLock(ws, window);
    } else {
        BringToFront(ws, window);
    }
    return ws.GetForegroundWindow() == window;
}

} // namespace instance
