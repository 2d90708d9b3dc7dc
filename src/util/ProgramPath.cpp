#include "util/ProgramPath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace util {

std::string ProgramFile()
{
    std::vector<char> buf(4096);
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < buf.size()) {
            std::string path(buf.data(), static_cast<std::size_t>(n));
            // After the file was replaced (an update), the kernel appends this
            // mark; the name that now exists again is the program's path.
            const std::string deleted = " (deleted)";
            struct stat st {};
            if (path.size() > deleted.size() && path.ends_with(deleted) && stat(path.c_str(), &st) != 0)
                path.resize(path.size() - deleted.size());
            return path;
        }
        buf.resize(buf.size() * 2);
    }
}

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return "./";
    return path.substr(0, slash + 1);
}

std::string ProgramDirectory()
{
    const std::string file = ProgramFile();
    return file.empty() ? std::string("./") : DirectoryOf(file);
}

} // namespace util
