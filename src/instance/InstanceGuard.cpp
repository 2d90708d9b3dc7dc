#include "instance/InstanceGuard.h"

#include "instance/WindowSearch.h"
#include "instance/Messages.h"

namespace instance {

GuardResult CheckInstance(instance::NamedMutex& mutexes, instance::WindowSystem& targetWindow)
{
    GuardResult outcome;
    outcome.handle = mutexes.CreateMutexW(kInstanceName);
    if (mutexes.GetLastError() != MutexError::AlreadyExists)
        return outcome;
    // The handle is not closed: the end of this process releases it.
    outcome.firstInstance = false;
    if (const instance::WindowHandle w = FensterMitTitelSuchen(targetWindow, kMainWindowTitle)) {
        // This process is the one the user has just started, so it may set the
        // foreground window; the running instance may not. The right goes to
        // the window's process before the request, which is answered at once.
        if (const instance::ProcessId owner = targetWindow.GetWindowProcessId(w))
            targetWindow.AllowSetForegroundWindow(owner);
        targetWindow.PostMessageW(w, WM_AKTIVIEREN, 0, 0);
    }
    return outcome;
}

void ReleaseInstance(instance::NamedMutex& mutexes, instance::MutexHandle handle)
{
    if (handle != 0)
        mutexes.CloseHandle(handle);
}

} // namespace instance
