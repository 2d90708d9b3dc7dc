#include "platform/Process.h"

#include <csignal>
#include <cstdlib>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <system_error>
#include <vector>

namespace platform {

std::string ExecutableFile()
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

std::string TemporaryDirectory(TemporaryDirectoryFailure*)
{
    const char* dir = std::getenv("TMPDIR");
    return dir && *dir ? std::string(dir) : std::string("/tmp");
}

EntryPoint LoadEntryPoint(const std::string& path, const char* symbol, std::string* error)
{
    // Lazy: the toolkit's own libraries bind at load anyway, the rest of
    // what the GUI library needs (libstdc++, xcb, its own calls) binds on
    // first use instead of all of it before the first window.
    void* lib = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (!lib) {
        if (error)
            *error = dlerror();
        return nullptr;
    }
    if (void* entry = dlsym(lib, symbol))
        return reinterpret_cast<EntryPoint>(entry);
    if (error)
        *error = path + ": no " + symbol;
    return nullptr;
}

void IgnoreFileSizeSignal() { ::signal(SIGXFSZ, SIG_IGN); }

EarlyFontConfiguration::EarlyFontConfiguration()
{
    // Loaded here, on the calling thread, before the GUI library: the loader
    // takes one lock for every load, so a load on the thread would wait for
    // the GUI library's. The toolkit later finds the same library by its name.
    void* library = dlopen("libfontconfig.so.1", RTLD_LAZY | RTLD_LOCAL);
    if (!library)
        return;
    using Init = int (*)();
    const auto init = reinterpret_cast<Init>(dlsym(library, "FcInit"));
    if (!init)
        return;
    try {
        m_thread = std::thread([init] { static_cast<void>(init()); });
    } catch (const std::system_error&) {
        // No thread to be had: the toolkit reads the configuration itself.
    }
}

EarlyFontConfiguration::~EarlyFontConfiguration() { Wait(); }

void EarlyFontConfiguration::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace platform
