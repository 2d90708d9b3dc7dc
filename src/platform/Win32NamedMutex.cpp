#include "platform/Win32NamedMutex.h"

#include "platform/Utf8.h"

#include <windows.h>

namespace platform {

MutexHandle Win32NamedMutex::CreateMutexW(const std::string& name)
{
    const std::u16string wide = Utf8ToUtf16(name);
    const HANDLE h = ::CreateMutexW(nullptr, TRUE, reinterpret_cast<LPCWSTR>(wide.c_str()));
    m_lastError = ::GetLastError();
    return reinterpret_cast<MutexHandle>(h);
}

void Win32NamedMutex::CloseHandle(MutexHandle handle) { ::CloseHandle(reinterpret_cast<HANDLE>(handle)); }

} // namespace platform
