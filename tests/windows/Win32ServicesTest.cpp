// The instance lock and the window-system calls against the desktop's own
// implementation: a second process, real top-level windows, real messages.
#include "instance/Foreground.h"
#include "instance/WindowSearch.h"
#include "instance/NamedMutex.h"
#include "instance/WindowSystem.h"

#include "Win32TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using instance::WindowHandle;

constexpr auto kGetLock = instance::SystemParameter::GetForegroundLockTimeout;
constexpr auto kSetLock = instance::SystemParameter::SetForegroundLockTimeout;
using wintest::TestWindow;
using wintest::WaitFor;

WindowHandle H(HWND w) { return reinterpret_cast<WindowHandle>(w); }

// Names with a character outside ASCII, so that the name must reach Windows as
// UTF-16 and not through the ANSI code page.
std::string MutexName(DWORD processId) { return "Zarnolith Prüfung " + std::to_string(processId); }
std::wstring WideMutexName(DWORD processId) { return L"Zarnolith Pr\u00fcfung " + std::to_wstring(processId); }

// Runs this program again as a separate process, which creates the mutex of
// the given process's test with the system's own call and ends with the error
// code that creation left.
DWORD ErrorOfMutexCreationInAnotherProcess()
{
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine
        = L"\"" + std::wstring(self) + L"\" --create-mutex " + std::to_wstring(::GetCurrentProcessId());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0xFFFFFFFF;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0xFFFFFFFF;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code;
}

TEST(Win32NamedMutexTest, AnotherProcessFindsTheMutexUntilItsHandleIsClosed)
{
    instance::Win32NamedMutex mutexes;
    // An error left over from an earlier call is not the creation's answer.
    ::SetLastError(ERROR_ALREADY_EXISTS);
    const instance::MutexHandle handle = mutexes.CreateMutexW(MutexName(::GetCurrentProcessId()));
    ASSERT_NE(handle, 0);
    EXPECT_EQ(mutexes.GetLastError(), instance::MutexError::Success);

    EXPECT_EQ(ErrorOfMutexCreationInAnotherProcess(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    mutexes.CloseHandle(handle);
    EXPECT_EQ(ErrorOfMutexCreationInAnotherProcess(), 0u);
}

TEST(Win32WindowSystemTest, TitleWalkSkipsTheFirstWindowAndReadsTitlesIn261Characters)
{
    instance::Win32WindowSystem ws;
    // Unique on the desktop: other programs' windows must not match.
    const std::u16string text = u"Zarnolith Suche " + [] {
        const std::string n = std::to_string(::GetCurrentProcessId());
        return std::u16string(n.begin(), n.end());
    }();
    const std::wstring wtext(text.begin(), text.end());

    TestWindow first(L"Vorne " + wtext);
    ::SetWindowPos(first.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitFor([&] { return ws.FindWindowW() == H(first.Handle()); }))
        << "the window on top of all others is where the walk starts";
    EXPECT_EQ(instance::FensterMitTitelSuchen(ws, text), 0u);

    // Only 260 characters take part: one more would complete the text.
    TestWindow cut(std::wstring(261 - wtext.size(), L'x') + wtext);
    ASSERT_EQ(wintest::TitleOf(cut.Handle()).size(), 261u);
    // The first occurrence is not the one at the end.
    TestWindow twice(wtext + L" - " + wtext);
    EXPECT_EQ(instance::FensterMitTitelSuchen(ws, text), 0u);

    // Hidden windows are walked too; 260 characters are read in full.
    TestWindow exact(std::wstring(260 - wtext.size(), L'y') + wtext, false);
    EXPECT_EQ(instance::FensterMitTitelSuchen(ws, text), H(exact.Handle()));
}

TEST(Win32WindowSystemTest, PostedMessageReachesOnlyItsWindow)
{
    instance::Win32WindowSystem ws;
    TestWindow target(L"Ziel");
    TestWindow other(L"Anderes");
    EXPECT_TRUE(ws.PostMessageW(H(target.Handle()), 1224, 0, 0));
    EXPECT_TRUE(ws.PostMessageW(H(target.Handle()), 1124, 0, 0));
    ASSERT_TRUE(WaitFor([&] { return target.UserMessages().size() == 2; }));
    EXPECT_EQ(target.UserMessages(), (std::vector<UINT>{1224, 1124}));
    EXPECT_TRUE(other.UserMessages().empty());
}

TEST(Win32WindowSystemTest, ForegroundLockTimeOutIsReadSetAndSetBack)
{
    instance::Win32WindowSystem ws;
    std::uint32_t before = 0;
    ASSERT_TRUE(ws.SystemParametersInfoW(kGetLock, 0, &before, instance::ParameterUpdate::None));
    const std::uint32_t changed = before + 4321;
    EXPECT_TRUE(ws.SystemParametersInfoW(kSetLock, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(changed)),
                                         instance::ParameterUpdate::SendChange));
    std::uint32_t now = 0;
    ASSERT_TRUE(ws.SystemParametersInfoW(kGetLock, 0, &now, instance::ParameterUpdate::None));
    EXPECT_EQ(now, changed);
    EXPECT_TRUE(ws.SystemParametersInfoW(kSetLock, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(before)),
                                         instance::ParameterUpdate::SendChange));
    ASSERT_TRUE(ws.SystemParametersInfoW(kGetLock, 0, &now, instance::ParameterUpdate::None));
    EXPECT_EQ(now, before);
}

TEST(Win32WindowSystemTest, FensterInVordergrundRestoresAMinimisedWindowAndActivatesIt)
{
    instance::Win32WindowSystem ws;
    EXPECT_TRUE(instance::UseAttachMethod(ws.GetVersion()));
    std::uint32_t lockBefore = 0;
    ASSERT_TRUE(ws.SystemParametersInfoW(kGetLock, 0, &lockBefore, instance::ParameterUpdate::None));

    TestWindow active(L"Aktiv");
    TestWindow target(L"Ziel");
    ASSERT_TRUE(wintest::PutInFront(active.Handle()));
    ::ShowWindow(target.Handle(), SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(target.Handle()) != 0; }));

    EXPECT_TRUE(instance::FensterInVordergrund(ws, H(target.Handle())));
    EXPECT_FALSE(::IsIconic(target.Handle()));
    EXPECT_EQ(::GetForegroundWindow(), target.Handle());
    EXPECT_LT(wintest::ZPosition(target.Handle()), wintest::ZPosition(active.Handle()));
    std::uint32_t lockAfter = 0;
    ASSERT_TRUE(ws.SystemParametersInfoW(kGetLock, 0, &lockAfter, instance::ParameterUpdate::None));
    EXPECT_EQ(lockAfter, lockBefore);
}

// Windows' own calls, each one noted on its way.
class NotedCalls final : public instance::WindowSystem {
public:
    std::vector<std::string> calls;

    instance::WindowHandle FindWindowW() override { return m_real.FindWindowW(); }
    instance::WindowHandle GetWindowNext(instance::WindowHandle w) override { return m_real.GetWindowNext(w); }
    int GetWindowTextW(instance::WindowHandle w, char16_t* buffer, int maxCount) override
    {
        return m_real.GetWindowTextW(w, buffer, maxCount);
    }
    bool PostMessageW(instance::WindowHandle w, unsigned m, std::uintptr_t wp, std::intptr_t lp) override
    {
        return m_real.PostMessageW(w, m, wp, lp);
    }
    bool IsIconic(instance::WindowHandle w) override { return m_real.IsIconic(w); }
    bool ShowWindow(instance::WindowHandle w, instance::ShowCommand command) override
    {
        return m_real.ShowWindow(w, command);
    }
    instance::WindowHandle GetForegroundWindow() override { return m_real.GetForegroundWindow(); }
    instance::ThreadId GetWindowThreadProcessId(instance::WindowHandle w) override
    {
        return m_real.GetWindowThreadProcessId(w);
    }
    instance::ProcessId GetWindowProcessId(instance::WindowHandle w) override { return m_real.GetWindowProcessId(w); }
    bool AllowSetForegroundWindow(instance::ProcessId p) override { return m_real.AllowSetForegroundWindow(p); }
    bool AttachThreadInput(instance::ThreadId a, instance::ThreadId to, bool attach) override
    {
        calls.push_back(a == to ? "AttachThreadInput(own thread)" : "AttachThreadInput");
        return m_real.AttachThreadInput(a, to, attach);
    }
    bool BringWindowToTop(instance::WindowHandle w) override
    {
        calls.push_back("BringWindowToTop");
        return m_real.BringWindowToTop(w);
    }
    bool SetForegroundWindow(instance::WindowHandle w) override
    {
        calls.push_back("SetForegroundWindow");
        return m_real.SetForegroundWindow(w);
    }
    bool SystemParametersInfoW(instance::SystemParameter action, unsigned ui, void* pv,
                               instance::ParameterUpdate winIni) override
    {
        calls.push_back(action == instance::SystemParameter::SetForegroundLockTimeout ? "set lock time-out"
                                                                                      : "read lock time-out");
        return m_real.SystemParametersInfoW(action, ui, pv, winIni);
    }
    instance::OsVersion GetVersion() override { return m_real.GetVersion(); }

private:
    instance::Win32WindowSystem m_real;
};

// As a dialog comes forward after its main window: the foreground window's
// thread is the dialog's own. Attaching a thread to itself fails, and the
// foreground lock would be lifted (and the change broadcast twice) for nothing.
TEST(Win32WindowSystemTest, WindowOfTheForegroundThreadComesForwardWithoutAttachingOrLiftingTheLock)
{
    NotedCalls ws;
    TestWindow main(L"Haupt");
    TestWindow dialog(L"Dialog");
    ASSERT_TRUE(wintest::PutInFront(main.Handle()));
    EXPECT_TRUE(instance::FensterInVordergrund(ws, H(dialog.Handle())));
    EXPECT_EQ(::GetForegroundWindow(), dialog.Handle());
    EXPECT_EQ(ws.calls, (std::vector<std::string>{"BringWindowToTop", "SetForegroundWindow"}));
}

// A second start hands its right to set the foreground window to the process
// of the window it asks to come forward.
TEST(Win32WindowSystemTest, WindowsProcessIsNamedAndMayBeGivenTheForegroundRight)
{
    instance::Win32WindowSystem ws;
    TestWindow window(L"Fenster");
    ASSERT_TRUE(wintest::PutInFront(window.Handle()));
    EXPECT_EQ(ws.GetWindowProcessId(H(window.Handle())), ::GetCurrentProcessId());
    EXPECT_EQ(ws.GetWindowProcessId(0), 0u);
    EXPECT_TRUE(ws.AllowSetForegroundWindow(::GetCurrentProcessId()));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--create-mutex") {
        const DWORD processId = static_cast<DWORD>(std::stoul(argv[2]));
        ::SetLastError(0);
        const HANDLE h = ::CreateMutexW(nullptr, TRUE, WideMutexName(processId).c_str());
        const DWORD error = ::GetLastError();
        if (!h)
            return 0xFFFF;
        return static_cast<int>(error);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
