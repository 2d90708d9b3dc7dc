// The display settings of the real zarnolith.exe in the registry: settings a
// user already has under HKCU\Software\Zarnolith are loaded as they are, and
// a confirmed background dialog, chosen with the keyboard as a user does,
// saves all six values with their types, as reg query (Wine's own tool) shows.
#include "Win32TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using wintest::Key;
using wintest::kMainTitle;
using wintest::Process;
using wintest::WaitFor;

std::wstring g_program; // zarnolith.exe as built, its GUI library beside it

const std::wstring kBackgroundTitle = L"Schrifthintergrund w\u00e4hlen";
const wchar_t* const kKey = L"Software\\Zarnolith";

void Press(WORD virtualKey)
{
    Key(virtualKey, true);
    Key(virtualKey, false);
}

bool SetNumber(HKEY key, const wchar_t* name, DWORD number)
{
    return ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number)
        == ERROR_SUCCESS;
}

std::optional<DWORD> Number(const wchar_t* name)
{
    DWORD value = 0, size = sizeof value, type = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_ANY, &type, &value, &size) != ERROR_SUCCESS
        || type != REG_DWORD)
        return std::nullopt;
    return value;
}

// The lines "name|type|data" of the key's values as reg query prints them, sorted.
std::vector<std::string> RegQuery()
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return {"<no pipe>"};
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"reg.exe query HKCU\\Software\\Zarnolith";
    const bool started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                          nullptr, nullptr, &startup, &process);
    ::CloseHandle(writeEnd);
    std::string output;
    char buffer[4096];
    DWORD n = 0;
    while (started && ::ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0)
        output.append(buffer, n);
    ::CloseHandle(readEnd);
    if (!started)
        return {"<reg.exe did not start>"};
    ::WaitForSingleObject(process.hProcess, 30000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);

    std::vector<std::string> values;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("    ", 0) != 0)
            continue; // the key's own line and blank lines
        std::vector<std::string> fields;
        for (std::size_t at = 4;;) {
            const std::size_t next = line.find("    ", at);
            fields.push_back(line.substr(at, next == std::string::npos ? std::string::npos : next - at));
            if (next == std::string::npos)
                break;
            at = next + 4;
        }
        std::string joined;
        for (const std::string& f : fields)
            joined += (joined.empty() ? "" : "|") + f;
        values.push_back(joined);
    }
    std::sort(values.begin(), values.end());
    return values;
}

TEST(ProgramSettingsTest, StoredSettingsLoadAsTheyAreAndAConfirmedDialogSavesAllSix)
{
    ASSERT_FALSE(g_program.empty()) << "start with --program=PATH";
    ::SetEnvironmentVariableW(L"QT_QPA_PLATFORM", nullptr);

    // Settings as an earlier version left them.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring name = L"Zarnolith Testschrift";
    ASSERT_EQ(::RegSetValueExW(key, L"FontName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                               static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    ASSERT_TRUE(SetNumber(key, L"FontSize", 20));
    ASSERT_TRUE(SetNumber(key, L"FontColor", 0x00123456));
    ASSERT_TRUE(SetNumber(key, L"FontCharSet", 0x1CC)); // only the lowest byte counts: 204
    ASSERT_TRUE(SetNumber(key, L"FontStyle", 0x16));    // bold, underline; bit 4 is ignored
    ASSERT_TRUE(SetNumber(key, L"HintColor", 2));
    ::RegCloseKey(key);

    const Process process(g_program);
    ASSERT_TRUE(process.Started());

    // The start-values dialog opens by itself; cancelled, the main window is left in front.
    ASSERT_EQ(wintest::DismissStartValues(process), "");

    // Alt+A opens "&Ansicht", H chooses "Schrift&hintergrund..."; the list shows entry 2 selected.
    Key(VK_MENU, true);
    Press('A');
    Key(VK_MENU, false);
    Press('H');
    EXPECT_TRUE(WaitFor([&] { return !process.Running() || process.Window(kBackgroundTitle); }))
        << "no background dialog";
    EXPECT_TRUE(wintest::PutInFront(process.Window(kBackgroundTitle)));
    Press(VK_DOWN);
    Press(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !process.Window(kBackgroundTitle) && Number(L"HintColor") == 3u; }))
        << "HintColor after the dialog: " << Number(L"HintColor").value_or(0xFFFFFFFF);

    // Everything loaded is saved back as it was taken: the character set as its
    // lowest byte, the style without the bit it ignores; HintColor is the new entry.
    EXPECT_EQ(RegQuery(),
              (std::vector<std::string>{
                  "FontCharSet|REG_DWORD|0xcc",
                  "FontColor|REG_DWORD|0x123456",
                  "FontName|REG_SZ|Zarnolith Testschrift",
                  "FontSize|REG_DWORD|0x14",
                  "FontStyle|REG_DWORD|0x6",
                  "HintColor|REG_DWORD|0x3",
              }));

    ::PostMessageW(process.Window(kMainTitle), 1124, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !process.Running(); }));
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey); // as a fresh prefix has it
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    g_program = wintest::PathOption(argc, argv, "program");
    return RUN_ALL_TESTS();
}
