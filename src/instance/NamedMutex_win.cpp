#include "instance/NamedMutex.h"

#include "platform/Utf8.h"

#include <windows.h>

namespace instance {

MutexHandle Win32NamedMutex::CreateMutexW(const std::string& name)
{
    const std::u16string wide = platform::Utf8ToUtf16(name);
    const HANDLE h = ::CreateMutexW(nullptr, TRUE, reinterpret_cast<LPCWSTR>(wide.c_str()));
    m_lastError = static_cast<MutexError>(::GetLastError());
    return reinterpret_cast<MutexHandle>(h);
}

void Win32NamedMutex::CloseHandle(MutexHandle handle) { ::CloseHandle(reinterpret_cast<HANDLE>(handle)); }

} // namespace instance
