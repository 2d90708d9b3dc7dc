#ifdef _WIN32
// The hand-off file on Windows. The temporary directory is the user's own
// (its access list keeps other users out), so what matters here is that a
// link placed at the name is never followed and that a file with a second
// name elsewhere is never written through that name. (Under Wine a Unix
// symbolic link shows as a plain file and is followed; Wine's temporary
// directory lies in the user's own prefix.)
#include "platform/HandOffFile.h"

#include "platform/Utf8.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace platform {

namespace {

std::wstring widePath(const std::string& path)
{
    const std::u16string wide = Utf8ToUtf16(path);
    return std::wstring(wide.begin(), wide.end());
}

int errnoFor(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return ENOENT;
    case ERROR_INVALID_NAME: return EINVAL;
    case ERROR_ACCESS_DENIED: return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return EBUSY;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_CANT_RESOLVE_FILENAME: return ELOOP;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return ENOMEM;
    default: return EIO;
    }
}

// 0 for a plain file with this one name, else why not.
int plainFileError(HANDLE file)
{
    if (::GetFileType(file) != FILE_TYPE_DISK)
        return EPERM;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file, &info))
        return errnoFor(::GetLastError());
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return ELOOP;
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || info.nNumberOfLinks != 1)
        return EPERM;
    return 0;
}

// The link itself is opened, never what it points to.
HANDLE openNoFollow(const std::string& path, DWORD access, DWORD share, DWORD disposition)
{
    return ::CreateFileW(widePath(path).c_str(), access, share, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

} // namespace

void ClearReadOnly(const std::string& path)
{
    const HANDLE file = openNoFollow(path, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE)
        return;
    BY_HANDLE_FILE_INFORMATION info{};
    if (plainFileError(file) == 0 && ::GetFileInformationByHandle(file, &info)
        && (info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))) {
        // Times of zero stay as they are; "normal" is attributes 0.
        FILE_BASIC_INFO basic{};
        basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        ::SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
    }
    ::CloseHandle(file);
}

int WriteOwnFile(const std::string& path, std::string_view bytes)
{
    // No sharing while we write: nobody reads a half-written file.
    // Not CREATE_ALWAYS: an existing file is emptied only once it proved to be a plain file.
    const HANDLE file = openNoFollow(path, GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, OPEN_ALWAYS);
    if (file == INVALID_HANDLE_VALUE)
        return errnoFor(::GetLastError());
    auto finish = [file](int error) {
        if (!::CloseHandle(file) && error == 0)
            error = errnoFor(::GetLastError());
        return error;
    };
    if (const int error = plainFileError(file))
        return finish(error);
    if (!::SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN) || !::SetEndOfFile(file))
        return finish(errnoFor(::GetLastError()));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
            return finish(errnoFor(::GetLastError()));
        if (written == 0)
            return finish(ENOSPC);
        done += written;
    }
    return finish(0);
}

std::optional<std::string> ToActiveCodePage(std::u16string_view text) { return ToCodePage(::GetACP(), text); }

std::optional<std::string> ToCodePage(unsigned codePage, std::u16string_view text)
{
    std::string bytes = codePage == CP_UTF8 ? std::string("\xEF\xBB\xBF") : std::string();
    if (text.empty())
        return bytes;
    if (text.size() > static_cast<std::size_t>(INT_MAX / 4))
        return std::nullopt;
    // Flags 0: the code page's own replacements (its best fit, else its default character).
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int needed = ::WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return std::nullopt;
    const std::size_t start = bytes.size();
    bytes.resize(start + static_cast<std::size_t>(needed));
    if (::WideCharToMultiByte(codePage, 0, wide, length, bytes.data() + start, needed, nullptr, nullptr) != needed)
        return std::nullopt;
    return bytes;
}

} // namespace platform
#endif
