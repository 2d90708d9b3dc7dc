#include "util/ProgramPath.h"

#include "platform/Process.h"

namespace util {

std::string ProgramFile() { return platform::ExecutableFile(); }

std::string DirectoryOf(const std::string& path)
{
#ifdef _WIN32
    // Windows takes either separator; the system's own paths use the backslash.
    const std::size_t slash = path.find_last_of("\\/");
#else
    const std::size_t slash = path.rfind('/');
#endif
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
