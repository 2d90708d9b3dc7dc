#pragma once
// The instance lock on Windows: a named mutex in the session's local namespace.
#include "platform/NamedMutex.h"

namespace platform {

class Win32NamedMutex final : public NamedMutex {
public:
    // CreateMutexW(no security attributes, initial owner, name): the name is
    // UTF-8 here and handed to Windows as UTF-16.
    MutexHandle CreateMutexW(const std::string& name) override;
    unsigned long GetLastError() override { return m_lastError; }
    void CloseHandle(MutexHandle handle) override;

private:
    unsigned long m_lastError = 0;
};

} // namespace platform
