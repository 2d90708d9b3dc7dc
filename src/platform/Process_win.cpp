#ifdef _WIN32
#include "platform/Process.h"

#include "platform/Utf8.h"

#include <windows.h>

namespace platform {
namespace {

std::string ToUtf8(const wchar_t* text, std::size_t length)
{
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::wstring ToWide(const std::string& utf8)
{
    const std::u16string text = Utf8ToUtf16(utf8);
    return std::wstring(text.begin(), text.end());
}

std::string SystemMessage(DWORD code)
{
    wchar_t* text = nullptr;
    const DWORD n
        = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::string message = n ? ToUtf8(text, n) : "error " + std::to_string(code);
    ::LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

} // namespace

std::string ExecutableFile()
{
    // The classic buffer holds 261 characters; a longer path is cut off and
    // the call says so, so the buffer grows until the whole path fits.
    std::wstring buf(MAX_PATH + 1, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return {};
        if (n < buf.size())
            return ToUtf8(buf.data(), n);
        if (buf.size() >= 32768)
            return {};
        buf.resize(buf.size() * 2);
    }
}

std::string TemporaryDirectory(TemporaryDirectoryFailure* failure)
{
    // The classic buffer holds 260 characters and a zero. For a longer
    // directory the call either fails (Wine: ERROR_FILENAME_EXCED_RANGE) or
    // tells the length it needs; either way the buffer holds nothing usable.
    wchar_t buf[MAX_PATH + 1] = {};
    ::SetLastError(ERROR_SUCCESS);
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, buf);
    if (n != 0 && n <= MAX_PATH)
        return ToUtf8(buf, n);
    const DWORD error = ::GetLastError();
    if (failure) {
        *failure = {};
        if (n > MAX_PATH) {
            // Named, but too long for the program's path buffer: say which one.
            std::wstring whole(n, L'\0');
            const DWORD m = ::GetTempPathW(n, whole.data());
            if (m > 0 && m < n)
                failure->directory = ToUtf8(whole.data(), m);
        }
        failure->message = SystemMessage(error != ERROR_SUCCESS ? error : ERROR_FILENAME_EXCED_RANGE);
    }
    return {};
}

EntryPoint LoadEntryPoint(const std::string& path, const char* symbol, std::string* error)
{
    // A full path: the library itself is not searched for; the DLLs it needs
    // are found in the usual order (the program's folder first, then PATH).
    const HMODULE lib = ::LoadLibraryW(ToWide(path).c_str());
    if (!lib) {
        if (error)
            *error = path + ": " + SystemMessage(::GetLastError());
        return nullptr;
    }
    if (const FARPROC entry = ::GetProcAddress(lib, symbol))
        return reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(entry));
    if (error)
        *error = path + ": no " + symbol;
    return nullptr;
}

void IgnoreFileSizeSignal() {}

// GDI's fonts need no configuration read at start.
EarlyFontConfiguration::EarlyFontConfiguration() = default;
EarlyFontConfiguration::~EarlyFontConfiguration() = default;
void EarlyFontConfiguration::Wait() {}

void ShowErrorBox(const std::string& title, const std::string& text)
{
    ::MessageBoxW(nullptr, ToWide(text).c_str(), ToWide(title).c_str(), MB_ICONERROR | MB_OK);
}

} // namespace platform
#endif
