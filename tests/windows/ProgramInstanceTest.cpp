// The real zarnolith.exe on a desktop: one instance at a time, the two
// messages that other programs post to its main window, and the error box of a
// copy whose GUI library is missing or unusable. What the tests check is read
// from the window manager itself: which window is in front, the order of the
// windows, what a window says, whether and how the process ended.
#include "Win32TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using wintest::kDialogTitle;
using wintest::kMainTitle;
using wintest::Process;
using wintest::TestWindow;
using wintest::WaitFor;
using wintest::ZPosition;

std::wstring g_program;     // zarnolith.exe
std::wstring g_postToTitle; // the outside program
std::wstring g_noEntry;     // a DLL that lacks the GUI library's entry

class ProgramInstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(g_program.empty()) << "start with --program=PATH --post-to-title=PATH --no-entry-library=PATH";
        // The program runs on the desktop, whatever platform the test run asked for.
        ::SetEnvironmentVariableW(L"QT_QPA_PLATFORM", nullptr);
    }

    // Starts the program and waits until its main window and the start-values
    // dialog, which opens by itself, are on the screen.
    std::unique_ptr<Process> StartFirst()
    {
        auto p = std::make_unique<Process>(g_program);
        EXPECT_TRUE(p->Started());
        EXPECT_TRUE(WaitFor([&] {
            return !p->Running() || (MainWindow(*p) && Dialog(*p) && ::GetForegroundWindow() == Dialog(*p));
        })) << "main window and start-values dialog did not appear";
        EXPECT_TRUE(p->Running()) << "ended with " << p->ExitCode();
        return p;
    }

    static HWND MainWindow(const Process& p) { return wintest::VisibleWindowOf(p.Id(), kMainTitle); }
    static HWND Dialog(const Process& p) { return wintest::VisibleWindowOf(p.Id(), kDialogTitle); }

    // Another program's window takes the front.
    static void PutInFront(const TestWindow& window) { ASSERT_TRUE(wintest::PutInFront(window.Handle())); }

    static DWORD PostToTitle(const std::wstring& titleEnd, unsigned message)
    {
        Process post(g_postToTitle, L"\"" + titleEnd + L"\" " + std::to_wstring(message));
        EXPECT_TRUE(post.Started());
        EXPECT_TRUE(WaitFor([&] { return !post.Running(); }));
        return post.ExitCode();
    }

    // The dialog in front, the main window right behind it, the other program's window behind both.
    static void ExpectInFrontWithTheDialogOnTop(const Process& p, const TestWindow& other)
    {
        HWND dialog = nullptr;
        HWND main = nullptr;
        // The dialog can have the foreground before the message is handled (a
        // window manager handing back an earlier activation late): the whole
        // state is awaited, the stacking with it.
        const bool settled = WaitFor(
            [&] {
                dialog = Dialog(p);
                main = MainWindow(p);
                return dialog && main && ::GetForegroundWindow() == dialog && ZPosition(dialog) < ZPosition(main)
                    && ZPosition(main) < ZPosition(other.Handle());
            },
            15000);
        if (settled)
            return;
        EXPECT_TRUE(dialog && main && ::GetForegroundWindow() == dialog)
            << "in front: \"" << wintest::Utf8(wintest::TitleOf(::GetForegroundWindow())) << "\"";
        EXPECT_LT(ZPosition(dialog), ZPosition(main)) << StackingOrder();
        EXPECT_LT(ZPosition(main), ZPosition(other.Handle())) << StackingOrder();
    }

    // The visible top-level windows, the topmost first, for failure messages.
    static std::string StackingOrder()
    {
        std::string order = "stacking:";
        for (HWND w : wintest::TopLevelWindows())
            if (::IsWindowVisible(w))
                order += " \"" + wintest::Utf8(wintest::TitleOf(w)) + "\"";
        return order;
    }

    static int CountMainWindows()
    {
        int n = 0;
        for (HWND w : wintest::TopLevelWindows())
            n += ::IsWindowVisible(w) && wintest::TitleOf(w) == kMainTitle;
        return n;
    }
};

TEST_F(ProgramInstanceTest, SecondStartEndsAndBringsTheFirstForward)
{
    const auto first = StartFirst();
    ASSERT_FALSE(HasFailure());
    TestWindow other(L"Anderes Programm");
    PutInFront(other);

    Process second(g_program);
    ASSERT_TRUE(second.Started());
    ASSERT_TRUE(WaitFor([&] { return !second.Running(); }));
    EXPECT_EQ(second.ExitCode(), 0u);

    ExpectInFrontWithTheDialogOnTop(*first, other);
    EXPECT_TRUE(first->Running());
    EXPECT_EQ(CountMainWindows(), 1);
}

TEST_F(ProgramInstanceTest, OutsideProgramsActivateWith1224AndCloseWith1124)
{
    const auto p = StartFirst();
    ASSERT_FALSE(HasFailure());
    TestWindow other(L"Anderes Programm");
    PutInFront(other);

    // Another number is left alone: once the 1224 behind it has had its
    // effect, the program still runs and is in front.
    EXPECT_EQ(PostToTitle(kMainTitle, 1225), 0u);
    EXPECT_EQ(PostToTitle(kMainTitle, 1224), 0u);
    {
        SCOPED_TRACE("1224 over another program's window");
        ExpectInFrontWithTheDialogOnTop(*p, other);
    }
    EXPECT_TRUE(p->Running());

    // A minimised main window (its dialog goes with it) is restored first.
    ::ShowWindow(MainWindow(*p), SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(MainWindow(*p)) != 0; }));
    PutInFront(other);
    EXPECT_EQ(PostToTitle(kMainTitle, 1224), 0u);
    EXPECT_TRUE(WaitFor([&] { return !::IsIconic(MainWindow(*p)); }));
    {
        SCOPED_TRACE("1224 to the minimised program");
        ExpectInFrontWithTheDialogOnTop(*p, other);
    }

    // The modal start-values dialog is still open: 1124 ends the program all the same.
    EXPECT_EQ(PostToTitle(kMainTitle, 1124), 0u);
    ASSERT_TRUE(WaitFor([&] { return !p->Running(); }));
    EXPECT_EQ(p->ExitCode(), 0u);
}

TEST_F(ProgramInstanceTest, OutsideProgramClosesTheProgramWithoutADialogWith1124)
{
    const auto p = StartFirst();
    ASSERT_FALSE(HasFailure());
    // Cancel the start-values dialog, as its close box does.
    ::PostMessageW(Dialog(*p), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !Dialog(*p); }));
    ASSERT_TRUE(MainWindow(*p));

    EXPECT_EQ(PostToTitle(kMainTitle, 1124), 0u);
    ASSERT_TRUE(WaitFor([&] { return !p->Running(); }));
    EXPECT_EQ(p->ExitCode(), 0u);
}

// The texts of a window's child windows, in their order.
std::vector<std::wstring> ChildTexts(HWND window)
{
    std::vector<std::wstring> texts;
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(wintest::TitleOf(child));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// A folder of its own for a copy of the program, removed with its files at the end.
class Folder {
public:
    explicit Folder(const std::wstring& name)
    {
        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH + 1, temp);
        m_path = temp + name + L"\\";
        Remove(); // what a broken run left
        m_created = ::CreateDirectoryW(m_path.c_str(), nullptr) != 0;
    }
    ~Folder() { Remove(); }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    bool Created() const { return m_created; }
    const std::wstring& Path() const { return m_path; }

private:
    void Remove()
    {
        WIN32_FIND_DATAW found{};
        const HANDLE search = ::FindFirstFileW((m_path + L"*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do
                ::DeleteFileW((m_path + found.cFileName).c_str());
            while (::FindNextFileW(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryW(m_path.c_str());
    }

    std::wstring m_path;
    bool m_created = false;
};

// What lies beside the copied program under the GUI library's name.
enum class GuiLibrary { Missing, Damaged, WithoutEntry };

const char* NameOf(GuiLibrary library)
{
    switch (library) {
    case GuiLibrary::Missing: return "Missing";
    case GuiLibrary::Damaged: return "Damaged";
    case GuiLibrary::WithoutEntry: return "WithoutEntry";
    }
    return "?";
}
void PrintTo(GuiLibrary library, std::ostream* out) { *out << NameOf(library); }

class ProgramWithoutGuiTest : public ProgramInstanceTest, public ::testing::WithParamInterface<GuiLibrary> {};

// Started from Explorer, the windowed program has no console for its stderr
// line: the reason must come as an error box, and the start still fails.
TEST_P(ProgramWithoutGuiTest, SaysSoInAnErrorBoxAndEndsWith1)
{
    Folder folder(L"Zarnolith ohne Oberfl\u00e4che");
    ASSERT_TRUE(folder.Created()) << wintest::Utf8(folder.Path());
    const std::wstring program = folder.Path() + L"zarnolith.exe";
    const std::wstring library = folder.Path() + L"zarnolith-gui.dll";
    ASSERT_TRUE(::CopyFileW(g_program.c_str(), program.c_str(), TRUE));
    if (GetParam() == GuiLibrary::Damaged) {
        // The first bytes of a DLL, as a broken unpacking leaves them.
        const HANDLE file = ::CreateFileW(library.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        const char start[] = "MZ\x90\0\x03\0\0\0\x04\0\0\0\xff\xff";
        DWORD written = 0;
        EXPECT_TRUE(::WriteFile(file, start, sizeof start, &written, nullptr));
        ::CloseHandle(file);
    } else if (GetParam() == GuiLibrary::WithoutEntry) {
        ASSERT_FALSE(g_noEntry.empty()) << "start with --no-entry-library=PATH";
        ASSERT_TRUE(::CopyFileW(g_noEntry.c_str(), library.c_str(), TRUE));
    }

    auto errorBox = [](const Process& p) {
        HWND box = nullptr;
        WaitFor([&] { return !p.Running() || (box = wintest::VisibleWindowOf(p.Id(), L"Fehler")); });
        return box;
    };
    Process first(program);
    ASSERT_TRUE(first.Started());
    const HWND box = errorBox(first);
    ASSERT_TRUE(box) << "ended with " << first.ExitCode() << " without an error box";
    const std::vector<std::wstring> texts = ChildTexts(box);
    const std::wstring expected = L"Die Programmdatei zarnolith-gui.dll fehlt oder ist besch\u00e4digt:\n" + library;
    EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << "the box says: " << [&] {
        std::string all;
        for (const std::wstring& text : texts)
            all += "[" + wintest::Utf8(text) + "] ";
        return all;
    }();
    EXPECT_TRUE(first.Running()) << "the program must wait for the box to be closed";

    // The open box is no running instance to hand over to: a second start
    // tells its user the same, instead of ending silently.
    Process second(program);
    ASSERT_TRUE(second.Started());
    const HWND secondBox = errorBox(second);
    EXPECT_TRUE(secondBox) << "the second start ended with " << second.ExitCode() << " without an error box";

    // Closed as their close boxes do.
    for (const auto& [p, w] : {std::pair{&first, box}, std::pair{&second, secondBox}}) {
        if (!w)
            continue;
        EXPECT_TRUE(::PostMessageW(w, WM_CLOSE, 0, 0));
        EXPECT_TRUE(WaitFor([&] { return !p->Running(); }));
        EXPECT_EQ(p->ExitCode(), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(, ProgramWithoutGuiTest,
                         ::testing::Values(GuiLibrary::Missing, GuiLibrary::Damaged, GuiLibrary::WithoutEntry),
                         [](const ::testing::TestParamInfo<GuiLibrary>& info) { return NameOf(info.param); });

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    g_program = wintest::PathOption(argc, argv, "program");
    g_postToTitle = wintest::PathOption(argc, argv, "post-to-title");
    g_noEntry = wintest::PathOption(argc, argv, "no-entry-library");
    return RUN_ALL_TESTS();
}
