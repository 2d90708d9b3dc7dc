#pragma once
// The window-system calls that window lookup and activation rely on, named and
// shaped after their Windows originals so that the lookup and activation logic
// (src/instance) reads the same on every platform and can be checked with a
// recording stand-in. Implementations: the second start's view of the running
// instance (RemoteWindowList), our own Qt windows (instance/QtWindowSystem).
#include <cstdint>
#include <string_view>

namespace instance {

using WindowHandle = std::uintptr_t; // 0 = no window
using ThreadId = std::uint32_t;      // 0 = none
using ProcessId = std::uint32_t;     // 0 = none

// The arguments and answers the calls take by their Windows numbers (SW_RESTORE,
// SPI_GETFOREGROUNDLOCKTIMEOUT, SPIF_SENDCHANGE, VER_PLATFORM_WIN32_NT, ...),
// under names of our own: <windows.h> defines those as macros.
enum class ShowCommand : int {
    Restore = 9,
};

enum class SystemParameter : unsigned {
    GetForegroundLockTimeout = 0x2000,
    SetForegroundLockTimeout = 0x2001,
};

// How SystemParametersInfoW passes a change on.
enum class ParameterUpdate : unsigned {
    None = 0,
    SendChange = 2, // tell every top-level window
};

enum class PlatformId : int {
    Unknown = 0,
    Win32Windows = 1, // Windows 95, 98, Me
    Win32Nt = 2,
};

struct OsVersion {
    PlatformId platformId = PlatformId::Unknown;
    int major = 0;
    int minor = 0;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // FindWindowW(no class, no title): the first top-level window, or 0.
    virtual WindowHandle FindWindowW() = 0;
    // GetWindow(window, GW_HWNDNEXT): the next top-level window, or 0 after the last.
    virtual WindowHandle GetWindowNext(WindowHandle window) = 0;
    // GetWindowTextW: copies at most maxCount - 1 UTF-16 units of the title and
    // a terminating zero into buffer; returns the number of units copied.
    virtual int GetWindowTextW(WindowHandle window, char16_t* buffer, int maxCount) = 0;
    // PostMessageW: queues the message for the window without waiting.
    virtual bool PostMessageW(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;

    virtual bool IsIconic(WindowHandle window) = 0;
    virtual bool ShowWindow(WindowHandle window, ShowCommand command) = 0;
    virtual WindowHandle GetForegroundWindow() = 0;
    virtual ThreadId GetWindowThreadProcessId(WindowHandle window) = 0;
    // GetWindowThreadProcessId(window, &process): the process that owns the window, 0 when unknown.
    virtual ProcessId GetWindowProcessId(WindowHandle window) = 0;
    // AllowSetForegroundWindow: lets that process set the foreground window,
    // as this one may when the user has just started it.
    virtual bool AllowSetForegroundWindow(ProcessId process) = 0;
    virtual bool AttachThreadInput(ThreadId attach, ThreadId attachTo, bool doAttach) = 0;
    virtual bool BringWindowToTop(WindowHandle window) = 0;
    virtual bool SetForegroundWindow(WindowHandle window) = 0;
    // SystemParametersInfoW for the foreground lock time-out: GET writes the
    // value to *static_cast<std::uint32_t*>(pvParam); SET takes the value itself
    // cast to a pointer, as Windows does.
    virtual bool SystemParametersInfoW(SystemParameter action, unsigned uiParam, void* pvParam, ParameterUpdate winIni)
        = 0;
    // Platform family and version, determined once per process.
    virtual OsVersion GetVersion() = 0;
};

// The GetWindowTextW contract for implementations that hold a title as a string.
int CopyWindowText(const std::u16string_view title, char16_t* buffer, int maxCount);

#ifdef _WIN32
// The window-system calls of window lookup and activation on Windows: every
// top-level window of the desktop, handles are HWNDs.
class Win32WindowSystem final : public WindowSystem {
public:
    WindowHandle FindWindowW() override;
    WindowHandle GetWindowNext(WindowHandle window) override;
    int GetWindowTextW(WindowHandle window, char16_t* buffer, int maxCount) override;
    bool PostMessageW(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool IsIconic(WindowHandle window) override;
    bool ShowWindow(WindowHandle window, ShowCommand command) override;
    WindowHandle GetForegroundWindow() override;
    ThreadId GetWindowThreadProcessId(WindowHandle window) override;
    ProcessId GetWindowProcessId(WindowHandle window) override;
    bool AllowSetForegroundWindow(ProcessId process) override;
    bool AttachThreadInput(ThreadId attach, ThreadId attachTo, bool doAttach) override;
    bool BringWindowToTop(WindowHandle window) override;
    bool SetForegroundWindow(WindowHandle window) override;
    bool SystemParametersInfoW(SystemParameter action, unsigned uiParam, void* pvParam,
                               ParameterUpdate winIni) override;
    OsVersion GetVersion() override;
};
#endif

} // namespace instance
