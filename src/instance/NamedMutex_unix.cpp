#include "instance/NamedMutex.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace instance {

// Handles are descriptor + 1, so that descriptor 0 (stdin closed) stays a valid handle.
FlockNamedMutex::FlockNamedMutex(std::string directory) : m_directory(std::move(directory)) {}

MutexHandle FlockNamedMutex::CreateMutexW(const std::string& name)
{
    if (m_directory.empty() || name.empty() || name.find('/') != std::string::npos) {
        m_lastError = MutexError::PathNotFound;
        return 0;
    }
    const std::string path = m_directory + "/" + name + ".lock";
    // O_CLOEXEC: programs we start (the updater, the browser) must not inherit
    // the lock and keep it after we end; O_NOFOLLOW: never lock through a link.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        m_lastError = errno == EACCES || errno == ELOOP ? MutexError::AccessDenied : MutexError::PathNotFound;
        return 0;
    }
    int rc;
    do
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        m_lastError = MutexError::Success;
    } else if (errno == EWOULDBLOCK) {
        m_lastError = MutexError::AlreadyExists; // the handle stays open, as Windows gives one too
    } else {
        m_lastError = MutexError::AccessDenied;
        ::close(fd);
        return 0;
    }
    return static_cast<MutexHandle>(fd) + 1;
}

void FlockNamedMutex::CloseHandle(MutexHandle handle)
{
    if (handle > 0)
        ::close(static_cast<int>(handle - 1));
}

} // namespace instance
