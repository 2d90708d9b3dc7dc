#include "instance/WindowSystem.h"

#include <windows.h>

namespace instance {

namespace {
HWND H(WindowHandle w) { return reinterpret_cast<HWND>(w); }
WindowHandle W(HWND h) { return reinterpret_cast<WindowHandle>(h); }
} // namespace

WindowHandle Win32WindowSystem::FindWindowW() { return W(::FindWindowW(nullptr, nullptr)); }

WindowHandle Win32WindowSystem::GetWindowNext(WindowHandle w) { return W(::GetWindow(H(w), GW_HWNDNEXT)); }

int Win32WindowSystem::GetWindowTextW(WindowHandle w, char16_t* buffer, int maxCount)
{
    return ::GetWindowTextW(H(w), reinterpret_cast<LPWSTR>(buffer), maxCount);
}

bool Win32WindowSystem::PostMessageW(WindowHandle w, unsigned m, std::uintptr_t wp, std::intptr_t lp)
{
    return ::PostMessageW(H(w), m, static_cast<WPARAM>(wp), static_cast<LPARAM>(lp)) != 0;
}

bool Win32WindowSystem::IsIconic(WindowHandle w) { return ::IsIconic(H(w)) != 0; }

bool Win32WindowSystem::ShowWindow(WindowHandle w, ShowCommand command)
{
    return ::ShowWindow(H(w), static_cast<int>(command)) != 0;
}

WindowHandle Win32WindowSystem::GetForegroundWindow() { return W(::GetForegroundWindow()); }

ThreadId Win32WindowSystem::GetWindowThreadProcessId(WindowHandle w)
{
    return ::GetWindowThreadProcessId(H(w), nullptr);
}

ProcessId Win32WindowSystem::GetWindowProcessId(WindowHandle w)
{
    DWORD process = 0;
    return ::GetWindowThreadProcessId(H(w), &process) != 0 ? process : 0;
}

bool Win32WindowSystem::AllowSetForegroundWindow(ProcessId process) { return ::AllowSetForegroundWindow(process) != 0; }

bool Win32WindowSystem::AttachThreadInput(ThreadId a, ThreadId to, bool attach)
{
    return ::AttachThreadInput(a, to, attach ? TRUE : FALSE) != 0;
}

bool Win32WindowSystem::BringWindowToTop(WindowHandle w) { return ::BringWindowToTop(H(w)) != 0; }

bool Win32WindowSystem::SetForegroundWindow(WindowHandle w) { return ::SetForegroundWindow(H(w)) != 0; }

bool Win32WindowSystem::SystemParametersInfoW(SystemParameter action, unsigned ui, void* pv, ParameterUpdate winIni)
{
    return ::SystemParametersInfoW(static_cast<UINT>(action), ui, pv, static_cast<UINT>(winIni)) != 0;
}

OsVersion Win32WindowSystem::GetVersion()
{
    // Read once per process. RtlGetVersion reports the real version;
    // GetVersionExW reports what the program's manifest claims to support.
    static const OsVersion version = [] {
        OsVersion v{PlatformId::Win32Nt, 0, 0};
        using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
        if (const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll"))
            if (const auto fn = reinterpret_cast<RtlGetVersionFn>(
                    reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")))) {
                OSVERSIONINFOW info{};
                info.dwOSVersionInfoSize = sizeof info;
                if (fn(&info) == 0)
                    v = {static_cast<PlatformId>(info.dwPlatformId), static_cast<int>(info.dwMajorVersion),
                         static_cast<int>(info.dwMinorVersion)};
            }
        return v;
    }();
    return version;
}

} // namespace instance
