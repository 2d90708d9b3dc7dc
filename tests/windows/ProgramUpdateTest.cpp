// The update command of the real zarnolith.exe, chosen from its menu with the
// keyboard as a user does. A copy of the program lies in a folder whose name
// has characters of code page 1252 outside ASCII, with the recorder as its
// updater Vellomat.exe beside it; the display font comes from the registry.
#include "Win32TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using wintest::Key;
using wintest::kMainTitle;
using wintest::Process;
using wintest::WaitFor;

std::wstring g_program; // zarnolith.exe as built, its GUI library beside it
std::wstring g_updater; // start-recorder.exe

std::wstring DirectoryOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

std::string ReadFile(const std::wstring& path)
{
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<unreadable>";
    std::string bytes;
    char buffer[4096];
    DWORD n = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0)
        bytes.append(buffer, n);
    ::CloseHandle(file);
    return bytes;
}

// The records the recorder left in the folder: each the working directory, then the arguments, one per line.
std::vector<std::string> Records(const std::wstring& folder)
{
    std::vector<std::string> records;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((folder + L"*.rec").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return records;
    do
        records.push_back(ReadFile(folder + found.cFileName));
    while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return records;
}

// Empties each folder (files only) and removes it, in the given order.
void RemoveFolders(const std::vector<std::wstring>& folders)
{
    for (const std::wstring& folder : folders) {
        WIN32_FIND_DATAW found{};
        const HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do
                ::DeleteFileW((folder + found.cFileName).c_str());
            while (::FindNextFileW(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryW(folder.c_str());
    }
}

// A registry value of the program's key, put back as it was at the end.
class RegistryValue {
public:
    RegistryValue(const wchar_t* name) : m_name(name)
    {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Zarnolith", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                          nullptr);
        DWORD size = 0;
        m_existed = ::RegQueryValueExW(m_key, name, nullptr, &m_type, nullptr, &size) == ERROR_SUCCESS;
        m_data.resize(size);
        if (m_existed)
            ::RegQueryValueExW(m_key, name, nullptr, &m_type, m_data.data(), &size);
    }
    ~RegistryValue()
    {
        if (m_existed)
            ::RegSetValueExW(m_key, m_name, 0, m_type, m_data.data(), static_cast<DWORD>(m_data.size()));
        else
            ::RegDeleteValueW(m_key, m_name);
        ::RegCloseKey(m_key);
    }
    bool Set(const std::wstring& text)
    {
        return ::RegSetValueExW(m_key, m_name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)))
            == ERROR_SUCCESS;
    }
    bool Set(DWORD number)
    {
        return ::RegSetValueExW(m_key, m_name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number)
            == ERROR_SUCCESS;
    }

private:
    const wchar_t* m_name;
    HKEY m_key = nullptr;
    bool m_existed = false;
    DWORD m_type = 0;
    std::vector<BYTE> m_data;
};

TEST(ProgramUpdateTest, MenuCommandWritesQmtCfgAndStartsTheUpdaterWithItsName)
{
    ASSERT_FALSE(g_program.empty() || g_updater.empty()) << "start with --program=PATH --updater=PATH";
    ::SetEnvironmentVariableW(L"QT_QPA_PLATFORM", nullptr);

    wchar_t temp[MAX_PATH + 1] = {};
    ASSERT_GT(::GetTempPathW(MAX_PATH + 1, temp), 0u);
    const std::wstring root = std::wstring(temp) + L"Zarnolith-Update\\";
    const std::wstring programDirectory = root + L"Programm \u00e4 \u20ac\\";
    const std::wstring handOffDirectory = root + L"J\u00fcrgen\\";
    const std::wstring records = root + L"records\\";
    RemoveFolders({programDirectory, handOffDirectory, records, root}); // what a broken run left
    for (const std::wstring& folder : {root, programDirectory, handOffDirectory, records})
        ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr)) << wintest::Utf8(folder);
    const std::wstring program = programDirectory + L"zarnolith.exe";
    ASSERT_TRUE(::CopyFileW(g_program.c_str(), program.c_str(), TRUE));
    ASSERT_TRUE(::CopyFileW((DirectoryOf(g_program) + L"zarnolith-gui.dll").c_str(),
                            (programDirectory + L"zarnolith-gui.dll").c_str(), TRUE));
    ASSERT_TRUE(::CopyFileW(g_updater.c_str(), (programDirectory + L"Vellomat.exe").c_str(), TRUE));
    // The program and the updater it starts inherit both.
    ASSERT_TRUE(::SetEnvironmentVariableW(L"TMP", handOffDirectory.c_str()));
    ASSERT_TRUE(::SetEnvironmentVariableW(L"ZARNOLITH_RECORD_DIR", records.c_str()));

    RegistryValue fontName(L"FontName");
    RegistryValue fontSize(L"FontSize");
    ASSERT_TRUE(fontName.Set(L"Schrift \u00e4\u00f6\u00fc\u00df \u20ac \u4e2d"));
    ASSERT_TRUE(fontSize.Set(12));

    const Process process(program);
    ASSERT_TRUE(process.Started());

    // The start-values dialog opens by itself; cancelled, the main window is left in front.
    ASSERT_EQ(wintest::DismissStartValues(process), "");

    // Alt+H opens "&Hilfe", A chooses "Programm-&Aktualisierung...".
    Key(VK_MENU, true);
    Key('H', true);
    Key('H', false);
    Key(VK_MENU, false);
    Key('A', true);
    Key('A', false);
    EXPECT_TRUE(WaitFor([&] { return !Records(records).empty(); })) << "the updater was not started";

    const std::vector<std::string> started = Records(records);
    ASSERT_EQ(started.size(), 1u);
    wchar_t current[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryW(MAX_PATH + 1, current);
    EXPECT_EQ(started[0], wintest::Utf8(current) + "\nQmt.cfg\n") << "the working directory, then the one argument";
    // Line 3 is the program's path in code page 1252: "Programm \xE4 \x80".
    const std::string programInCp1252 = wintest::Utf8(root).append("Programm \xE4 \x80\\zarnolith.exe");
    EXPECT_EQ(ReadFile(handOffDirectory + L"Qmt.cfg"),
              "Zarnolith V1.01\r\nZarnolith V1.01\r\n" + programInCp1252
                  + "\r\nQmt\r\n12 Schrift \xE4\xF6\xFC\xDF \x80 ?\r\n");

    // Closed as the updater would close it.
    ::PostMessageW(process.Window(kMainTitle), 1124, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !process.Running(); }));

    RemoveFolders({programDirectory, handOffDirectory, records, root});
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    g_program = wintest::PathOption(argc, argv, "program");
    g_updater = wintest::PathOption(argc, argv, "updater");
    return RUN_ALL_TESTS();
}
