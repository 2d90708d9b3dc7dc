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

namespace {

// Opens (or creates) the file for writing if it is a plain file of ours:
// the descriptor, or minus an errno value.
int openOwnFile(const std::string& path, int extraFlags, struct stat& st)
{
    // Not O_TRUNC: an existing file is emptied only after it proved to be ours.
    // O_NONBLOCK keeps a planted FIFO from blocking the open. Only we may read
    // or write a new file, whatever the umask: the updater runs as the same user.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | extraFlags, 0600);
    if (fd < 0)
        return -errno;
    if (fstat(fd, &st) != 0) {
        const int error = errno;
        close(fd);
        return -error;
    }
    if (!isPlainFileOfOurs(st)) {
        close(fd);
        return -EPERM;
    }
    return fd;
}

} // namespace

int WriteOwnFile(const std::string& path, std::string_view bytes)
{
    struct stat st {};
    int fd = openOwnFile(path, 0, st);
    if (fd >= 0 && (st.st_mode & (S_IWGRP | S_IWOTH))) {
        // An earlier file that others could write (made under a lax umask):
        // someone may still hold it open, so it is replaced, not reused.
        close(fd);
        if (unlink(path.c_str()) != 0)
            return errno;
        fd = openOwnFile(path, O_EXCL, st);
    }
    if (fd < 0)
        return -fd;
    auto fail = [fd](int error) {
        close(fd);
        return error;
    };
    if ((st.st_mode & 077) && fchmod(fd, 0600) != 0)
        return fail(errno);
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

std::optional<std::string> ToActiveCodePage(std::u16string_view) { return std::nullopt; }

} // namespace platform
