#include "instance/RuntimeDirectory.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace instance {

bool IsPrivateDirectory(const std::string& path, uid_t uid)
{
    struct stat st {};
    if (path.empty() || path.front() != '/' || ::lstat(path.c_str(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == uid && (st.st_mode & 077) == 0;
}

std::optional<std::string> UserRuntimeDirectory()
{
    const uid_t uid = ::geteuid();
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg) {
        std::string dir(xdg);
        while (dir.size() > 1 && dir.back() == '/')
            dir.pop_back();
        if (IsPrivateDirectory(dir, uid))
            return dir;
    }
    const std::string fallback = "/tmp/runtime-" + std::to_string(uid);
    ::mkdir(fallback.c_str(), 0700); // an existing one is checked below like a new one
    if (IsPrivateDirectory(fallback, uid))
        return fallback;
    return std::nullopt;
}

} // namespace instance
