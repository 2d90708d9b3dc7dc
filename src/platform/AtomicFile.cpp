#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

namespace {

bool failWith(std::string* error, const std::string& what, int err)
{
    if (error)
        *error = what + ": " + std::strerror(err);
    return false;
}

// A symbolic link as target is followed, so the file it points to is replaced.
fs::path resolveTarget(const fs::path& target)
{
    std::error_code ec;
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec)
            return resolved;
    }
    return target;
}

} // namespace

bool StageFile(const fs::path& target, std::span<const std::uint8_t> data, fs::path* staged, std::string* error)
{
    const fs::path path = resolveTarget(target);
    std::string tmpName = path.string() + ".tmp-XXXXXX";
    const int fd = ::mkstemp(tmpName.data());
    if (fd < 0)
        return failWith(error, "Temporäre Datei nicht anlegbar", errno);

    auto abandon = [&](const std::string& what) {
        const int err = errno;
        ::close(fd);
        ::unlink(tmpName.c_str());
        return failWith(error, what, err);
    };

    // Keep the permissions of the file being replaced (mkstemp gives 0600).
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && ::fchmod(fd, old.st_mode & 07777) != 0)
        return abandon("Rechte nicht übertragbar");

    const std::uint8_t* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return abandon("Schreiben fehlgeschlagen");
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0)
        return abandon("fsync fehlgeschlagen");
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmpName.c_str());
        return failWith(error, "Schließen fehlgeschlagen", err);
    }
    *staged = tmpName;
    return true;
}

bool CommitStagedFile(const fs::path& staged, const fs::path& target, std::string* error)
{
    const fs::path path = resolveTarget(target);
    if (::rename(staged.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(staged.c_str());
        return failWith(error, "Umbenennen fehlgeschlagen", err);
    }
    // The rename itself must reach the disk too; a failure here leaves a complete file.
    const int dirFd = ::open(path.parent_path().empty() ? "." : path.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool WriteFileAtomically(const fs::path& target, std::span<const std::uint8_t> data, std::string* error)
{
    fs::path staged;
    return StageFile(target, data, &staged, error) && CommitStagedFile(staged, target, error);
}

} // namespace platform
