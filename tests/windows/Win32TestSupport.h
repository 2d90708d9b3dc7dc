#pragma once
// What the Windows tests need of the desktop: waiting for a state while this
// thread's windows keep receiving their messages, plain top-level windows of
// their own, and the top-level windows as the window manager orders them.
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace wintest {

// The program's main window and the start-values dialog it opens by itself.
inline const std::wstring kMainTitle = L"Zarnolith V1.01";
inline const std::wstring kDialogTitle = L"Neue Startwerte f\u00fcr Bildbreite und -h\u00f6he";

// Paths given as Unix paths reach the program through drive Z:.
inline std::wstring WindowsPath(const char* path)
{
    std::wstring p(path, path + std::strlen(path));
    if (!p.empty() && p.front() == L'/') {
        for (auto& c : p)
            if (c == L'/')
                c = L'\\';
        p = L"Z:" + p;
    }
    return p;
}

// Runs this thread's pending messages.
inline void PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Checks the condition until it holds, handling this thread's messages in
// between; false when it still does not hold after timeoutMs (a bound for a
// broken case, not a delay the test relies on).
inline bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 60000)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        PumpMessages();
        if (condition())
            return true;
        if (::GetTickCount64() >= end)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

inline std::wstring TitleOf(HWND window)
{
    wchar_t buffer[1024] = {};
    ::GetWindowTextW(window, buffer, 1024);
    return buffer;
}

// For messages of failed checks.
inline std::string Utf8(const std::wstring& text)
{
    const int n
        = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// Makes the window the foreground window. The window manager may still be
// busy giving the keyboard to a window that appeared just before, so the
// request is repeated until the window is in front.
inline bool PutInFront(HWND window)
{
    return WaitFor([window] {
        if (::GetForegroundWindow() == window)
            return true;
        ::SetForegroundWindow(window);
        return false;
    });
}

// Every top-level window, the topmost first. EnumWindows takes the list at
// once; a walk with GetWindow could miss a window that another program brings
// forward meanwhile.
inline std::vector<HWND> TopLevelWindows()
{
    std::vector<HWND> windows;
    ::EnumWindows(
        [](HWND w, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The visible top-level window of the process with exactly this title, or 0.
inline HWND VisibleWindowOf(DWORD processId, const std::wstring& title)
{
    for (HWND w : TopLevelWindows()) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner == processId && ::IsWindowVisible(w) && TitleOf(w) == title)
            return w;
    }
    return nullptr;
}

// Position in the order of TopLevelWindows(), or -1.
inline int ZPosition(HWND window)
{
    const auto windows = TopLevelWindows();
    for (std::size_t i = 0; i < windows.size(); ++i)
        if (windows[i] == window)
            return static_cast<int>(i);
    return -1;
}

// A plain top-level window of this thread that records the messages it gets.
class TestWindow {
public:
    explicit TestWindow(const std::wstring& title, bool visible = true)
    {
        static const ATOM windowClass = [] {
            WNDCLASSW c{};
            c.lpfnWndProc = &TestWindow::Procedure;
            c.hInstance = ::GetModuleHandleW(nullptr);
            c.lpszClassName = L"ZarnolithTestWindow";
            return ::RegisterClassW(&c);
        }();
        m_window = ::CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(windowClass)), title.c_str(),
                                     WS_OVERLAPPEDWINDOW, 100, 100, 300, 200, nullptr, nullptr,
                                     ::GetModuleHandleW(nullptr), this);
        if (m_window && visible)
            ::ShowWindow(m_window, SW_SHOWNORMAL);
    }
    ~TestWindow()
    {
        if (m_window)
            ::DestroyWindow(m_window);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return m_window; }
    // The numbers of the messages at or above WM_USER it received, in order.
    const std::vector<UINT>& UserMessages() const { return m_userMessages; }

private:
    static LRESULT CALLBACK Procedure(HWND w, UINT message, WPARAM wp, LPARAM lp)
    {
        if (message == WM_NCCREATE)
            ::SetWindowLongPtrW(w, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
        auto* self = reinterpret_cast<TestWindow*>(::GetWindowLongPtrW(w, GWLP_USERDATA));
        if (self && message >= WM_USER && message < 0xC000) {
            self->m_userMessages.push_back(message);
            return 0;
        }
        return ::DefWindowProcW(w, message, wp, lp);
    }

    HWND m_window = nullptr;
    std::vector<UINT> m_userMessages;
};

// The Windows path of a "--name=/unix/path" option, or empty when it is not given.
inline std::wstring PathOption(int argc, char** argv, const std::string& name)
{
    const std::string prefix = "--" + name + "=";
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]).rfind(prefix, 0) == 0)
            return WindowsPath(argv[i] + prefix.size());
    return {};
}

// A process started as a user starts it; one still running at the end is killed.
class Process {
public:
    explicit Process(const std::wstring& program, const std::wstring& arguments = {})
    {
        std::wstring commandLine = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &m_info))
            m_info = {};
    }
    ~Process()
    {
        if (!m_info.hProcess)
            return;
        if (Running())
            ::TerminateProcess(m_info.hProcess, 99);
        ::WaitForSingleObject(m_info.hProcess, 30000);
        ::CloseHandle(m_info.hThread);
        ::CloseHandle(m_info.hProcess);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return m_info.hProcess != nullptr; }
    DWORD Id() const { return m_info.dwProcessId; }
    bool Running() const { return ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }
    // Its visible top-level window with exactly this title, or 0.
    HWND Window(const std::wstring& title) const { return VisibleWindowOf(Id(), title); }
    // The exit code once the process has ended.
    DWORD ExitCode() const
    {
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(m_info.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION m_info{};
};

// Waits for the program's main window and the start-values dialog it opens by
// itself, cancels the dialog and puts the main window in front. Empty when all
// went so; else the step that failed.
inline std::string DismissStartValues(const Process& program)
{
    auto window = [&](const std::wstring& title) { return program.Window(title); };
    if (!WaitFor([&] { return !program.Running() || (window(kMainTitle) && window(kDialogTitle)); })
        || !program.Running())
        return "no main window with the start-values dialog";
    ::PostMessageW(window(kDialogTitle), WM_CLOSE, 0, 0);
    if (!WaitFor([&] { return !window(kDialogTitle); }))
        return "the start-values dialog stayed open";
    if (!PutInFront(window(kMainTitle)))
        return "the main window did not come to the front";
    return {};
}

// One key pressed or released, as the keyboard would.
inline void Key(WORD virtualKey, bool down)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ::SendInput(1, &input, sizeof input);
}

} // namespace wintest
