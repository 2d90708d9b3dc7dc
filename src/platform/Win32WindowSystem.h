#pragma once
// The window-system calls of window lookup and activation on Windows: every
// top-level window of the desktop, handles are HWNDs.
#include "platform/WindowSystem.h"

namespace platform {

class Win32WindowSystem final : public WindowSystem {
public:
    WindowHandle FindWindowW() override;
    WindowHandle GetWindowNext(WindowHandle window) override;
    int GetWindowTextW(WindowHandle window, char16_t* buffer, int maxCount) override;
    bool PostMessageW(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool IsIconic(WindowHandle window) override;
    bool ShowWindow(WindowHandle window, int command) override;
    WindowHandle GetForegroundWindow() override;
    ThreadId GetWindowThreadProcessId(WindowHandle window) override;
    ProcessId GetWindowProcessId(WindowHandle window) override;
    bool AllowSetForegroundWindow(ProcessId process) override;
    bool AttachThreadInput(ThreadId attach, ThreadId attachTo, bool doAttach) override;
    bool BringWindowToTop(WindowHandle window) override;
    bool SetForegroundWindow(WindowHandle window) override;
    bool SystemParametersInfoW(unsigned action, unsigned uiParam, void* pvParam, unsigned winIni) override;
    OsVersion GetVersion() override;
};

} // namespace platform
