#pragma once
// A named mutex across the processes of one user, shaped after CreateMutexW /
// GetLastError / CloseHandle: creating it while another process holds it gives
// a handle and the error MutexError::AlreadyExists; a failure gives handle 0.
#include <cstdint>
#include <string>

namespace instance {

using MutexHandle = std::intptr_t; // 0 = none

// What the last creation left for GetLastError, by the Windows error numbers
// (ERROR_SUCCESS, ERROR_PATH_NOT_FOUND, ...). Names of our own: <windows.h>
// defines those as macros. On Windows any other system error may come too.
enum class MutexError : unsigned long {
    Success = 0,
    PathNotFound = 3,
    AccessDenied = 5,
    AlreadyExists = 183,
};

class NamedMutex {
public:
    virtual ~NamedMutex() = default;
    // CreateMutexW(no security attributes, initial owner, name).
    virtual MutexHandle CreateMutexW(const std::string& name) = 0;
    // The error code of the last CreateMutexW.
    virtual MutexError GetLastError() = 0;
    virtual void CloseHandle(MutexHandle handle) = 0;
};

#ifndef _WIN32
// Linux: an exclusive flock on "<directory>/<name>.lock". The kernel drops the
// lock when the process ends in any way, so a crash leaves no stale lock.
class FlockNamedMutex final : public NamedMutex {
public:
    // directory empty: no private place for the lock, creation fails.
    explicit FlockNamedMutex(std::string directory);
    MutexHandle CreateMutexW(const std::string& name) override;
    MutexError GetLastError() override { return m_lastError; }
    void CloseHandle(MutexHandle handle) override;

private:
    std::string m_directory;
    MutexError m_lastError = MutexError::Success;
};
#else
// The instance lock on Windows: a named mutex in the session's local namespace.
class Win32NamedMutex final : public NamedMutex {
public:
    // CreateMutexW(no security attributes, initial owner, name): the name is
    // UTF-8 here and handed to Windows as UTF-16.
    MutexHandle CreateMutexW(const std::string& name) override;
    MutexError GetLastError() override { return m_lastError; }
    void CloseHandle(MutexHandle handle) override;

private:
    MutexError m_lastError = MutexError::Success;
};
#endif

} // namespace instance
