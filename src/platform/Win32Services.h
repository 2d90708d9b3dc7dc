#pragma once
// The Windows originals behind the instance lock and the window-system calls.
#ifdef _WIN32
#include "platform/NamedMutex.h"
#include "platform/WindowSystem.h"

namespace platform {

class Win32NamedMutex final : public NamedMutex {
public:
    MutexHandle CreateMutexW(const std::string& name) override;
    unsigned long GetLastError() override { return m_lastError; }
    void CloseHandle(MutexHandle handle) override;

private:
    unsigned long m_lastError = 0;
};

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
    bool AttachThreadInput(ThreadId attach, ThreadId attachTo, bool doAttach) override;
    bool BringWindowToTop(WindowHandle window) override;
    bool SetForegroundWindow(WindowHandle window) override;
    bool SystemParametersInfoW(unsigned action, unsigned uiParam, void* pvParam, unsigned winIni) override;
    OsVersion GetVersion() override;
};

} // namespace platform
#endif
