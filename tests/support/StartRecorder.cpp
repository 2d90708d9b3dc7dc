// A stand-in for an outside Windows program (the updater): records how it was
// started, in the same form as the shell-script stand-ins of StandInProgram.h,
// as "<process id>.rec" in the folder ZARNOLITH_RECORD_DIR names: the working
// directory, then each argument as Windows splits the command line, one per
// line, UTF-8. Written aside and renamed, so a record appears whole.
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

std::string utf8(const wchar_t* text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(n > 0 ? static_cast<std::size_t>(n) : 1u, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), n, nullptr, nullptr);
    bytes.pop_back();
    return bytes;
}

} // namespace

int main()
{
    wchar_t folder[4096];
    const DWORD folderLength = GetEnvironmentVariableW(L"ZARNOLITH_RECORD_DIR", folder, 4096);
    if (folderLength == 0 || folderLength >= 4096)
        return 2;
    wchar_t directory[4096];
    const DWORD directoryLength = GetCurrentDirectoryW(4096, directory);
    if (directoryLength == 0 || directoryLength >= 4096)
        return 3;

    std::string record = utf8(directory) + "\n";
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; arguments && i < count; ++i)
        record += utf8(arguments[i]) + "\n";
    LocalFree(arguments);

    const std::wstring base = std::wstring(folder) + L"\\" + std::to_wstring(GetCurrentProcessId());
    const std::wstring aside = base + L".tmp";
    const HANDLE file = CreateFileW(aside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 4;
    DWORD written = 0;
    const bool ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr)
        && written == record.size();
    CloseHandle(file);
    if (!ok || !MoveFileExW(aside.c_str(), (base + L".rec").c_str(), MOVEFILE_REPLACE_EXISTING))
        return 5;
    return 0;
}
