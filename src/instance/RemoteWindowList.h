#pragma once
// The second start's view of the desktop: the top-level windows are those the
// running instance reports through its message channel, behind one first
// window that stands for the desktop's own topmost window (the lookup walk
// never examines the first window). Posting goes through the channel; this
// process has no windows of its own, so the activation calls do nothing.
#include "instance/MessageChannel.h"
#include "instance/WindowSystem.h"

#include <string>
#include <vector>

namespace instance {

class RemoteWindowList final : public WindowSystem {
public:
    // socketPath empty: no running instance can be reached, only the first window exists.
    explicit RemoteWindowList(std::string socketPath, int timeoutMs = 1500);

    WindowHandle FindWindowW() override;
    WindowHandle GetWindowNext(WindowHandle window) override;
    int GetWindowTextW(WindowHandle window, char16_t* buffer, int maxCount) override;
    bool PostMessageW(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

    bool IsIconic(WindowHandle) override { return false; }
    bool ShowWindow(WindowHandle, ShowCommand) override { return false; }
    WindowHandle GetForegroundWindow() override { return 0; }
    ThreadId GetWindowThreadProcessId(WindowHandle) override { return 0; }
    // The running instance takes the keyboard as a task bar would: nothing to hand on.
    ProcessId GetWindowProcessId(WindowHandle) override { return 0; }
    bool AllowSetForegroundWindow(ProcessId) override { return false; }
    bool AttachThreadInput(ThreadId, ThreadId, bool) override { return false; }
    bool BringWindowToTop(WindowHandle) override { return false; }
    bool SetForegroundWindow(WindowHandle) override { return false; }
    bool SystemParametersInfoW(SystemParameter, unsigned, void*, ParameterUpdate) override { return false; }
    OsVersion GetVersion() override { return {PlatformId::Win32Nt, 10, 0}; }

private:
    static constexpr WindowHandle kDesktopFirst = 1;
    void Load();
    bool IsRemote(WindowHandle window) const;

    std::string m_socketPath;
    int m_timeoutMs;
    bool m_loaded = false;
    ChannelClient m_client;
    std::vector<std::u16string> m_titles;
};

} // namespace instance
