#include "platform/HandOffFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace platform {

namespace {

bool isPlainFileOfOurs(const struct stat& st)
{
    return S_ISREG(st.st_mode) && st.st_uid == geteuid() && st.st_nlink == 1;
}

} // namespace

void ClearReadOnly(const std::string& path)
{
    // O_PATH needs no read or write permission, and O_NOFOLLOW stops at a link;
    // the mode is then changed through the descriptor, not the name, so nothing
    // swapped in between is touched.
    const int fd = open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat st {};
    if (fstat(fd, &st) == 0 && isPlainFileOfOurs(st) && !(st.st_mode & S_IWUSR)) {
        const std::string byDescriptor = "/proc/self/fd/" + std::to_string(fd);
        chmod(byDescriptor.c_str(), (st.st_mode & 07777) | S_IWUSR);
    }
    close(fd);
}

int WriteOwnFile(const std::string& path, std::string_view bytes)
{
    // Not O_TRUNC: an existing file is emptied only after it proved to be ours.
    // O_NONBLOCK keeps a planted FIFO from blocking the open.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0)
        return errno;
    auto fail = [fd](int error) {
        close(fd);
        return error;
    };
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return fail(errno);
    if (!isPlainFileOfOurs(st))
        return fail(EPERM);
    if (ftruncate(fd, 0) != 0)
        return fail(errno);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    // A full disk may show only now.
    if (close(fd) != 0)
        return errno;
    return 0;
}

} // namespace platform
