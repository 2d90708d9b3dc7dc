#include "settings/AtomicFile.h"

#include "platform/Process.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace settings {

namespace fs = std::filesystem;

namespace {

bool failWith(std::string* error, const std::string& what, int err)
{
    if (error)
        *error = what + ": " + std::strerror(err);
    return false;
}

} // namespace

fs::path ResolveTarget(const fs::path& target)
{
    fs::path path = target;
    std::error_code ec;
    // As the kernel does, give up after 40 links (a loop).
    for (int hops = 0; hops < 40 && fs::is_symlink(path, ec); ++hops) {
        const fs::path next = fs::read_symlink(path, ec);
        if (ec)
            break;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path.lexically_normal();
}

void RemoveStaleStagedFiles(const fs::path& target, const struct timespec& before)
{
    const fs::path path = ResolveTarget(target);
    const std::string prefix = path.filename().string() + ".tmp-";
    std::error_code ec;
    for (fs::directory_iterator it(path.parent_path().empty() ? fs::path(".") : path.parent_path(), ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        // mkstemp's six characters after our prefix, nothing else.
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix))
            continue;
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        const bool older = st.st_mtim.tv_sec < before.tv_sec
            || (st.st_mtim.tv_sec == before.tv_sec && st.st_mtim.tv_nsec < before.tv_nsec);
        if (older)
            ::unlink(it->path().c_str());
    }
}

bool StageFile(const fs::path& target, std::span<const std::uint8_t> data, fs::path* staged, std::string* error)
{
    platform::IgnoreFileSizeSignal();
    const fs::path path = ResolveTarget(target);
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
    const fs::path path = ResolveTarget(target);
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

} // namespace settings
