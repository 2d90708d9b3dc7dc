#include "platform/Shell.h"

#include "platform/CommandLineToArgv.h"
#include "platform/StartDetached.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform {

namespace {

int resultForErrno(int error)
{
    switch (error) {
    case 0: return ShellResult::Started;
    case ENOENT: return ShellResult::FileNotFound;
    case ENOTDIR: return ShellResult::PathNotFound;
    case EACCES:
    case EPERM: return ShellResult::AccessDenied;
    case ENOMEM: return ShellResult::OutOfMemory;
    case ENOEXEC: return ShellResult::BadFormat;
    default: return ShellResult::OutOfResources;
    }
}

std::string currentDirectory()
{
    std::string buf(4096, '\0');
    while (!getcwd(buf.data(), buf.size())) {
        if (errno != ERANGE)
            return {};
        buf.resize(buf.size() * 2);
    }
    return buf.c_str();
}

// Relative names are taken from the given directory (else ours), as the
// Windows shell does; the result is absolute, so it can never be mistaken
// for an option by the opener.
std::string absolutePath(const std::string& file, const std::string& directory)
{
    if (!file.empty() && file.front() == '/')
        return file;
    std::string base = directory.empty() ? currentDirectory() : directory;
    if (base.empty() || base.front() != '/') {
        const std::string cwd = currentDirectory();
        base = base.empty() ? cwd : cwd + '/' + base;
    }
    if (base.back() != '/')
        base += '/';
    return base + file;
}

bool isExecutableFile(const struct stat& st, const std::string& path)
{
    return S_ISREG(st.st_mode) && (st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) && access(path.c_str(), X_OK) == 0;
}

int openWithDesktop(const std::string& target, const std::string& directory)
{
    const std::optional<std::string> opener = LinuxShell::FindOnPath("xdg-open");
    if (!opener)
        return ShellResult::NoAssociation;
    return resultForErrno(StartDetached(*opener, {target}, directory));
}

} // namespace

bool LinuxShell::IsAddress(const std::string& text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon < 2)
        return false;
    auto isAlpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!isAlpha(text[0]))
        return false;
    for (std::size_t i = 1; i < colon; ++i) {
        const char c = text[i];
        if (!isAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

std::optional<std::string> LinuxShell::FindOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        // An empty entry means the current directory.
        const std::string dir = end > start ? dirs.substr(start, end - start) : std::string(".");
        const std::string candidate = dir + '/' + name;
        struct stat st {};
        if (stat(candidate.c_str(), &st) == 0 && isExecutableFile(st, candidate))
            return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

int LinuxShell::ShellExecute(std::uintptr_t /*owner: the desktop shows no messages of ours*/,
                             const std::string& operation, const std::string& file, const std::string& parameters,
                             const std::string& directory, int /*showCommand: the started program decides*/)
{
    // Only the default verb exists on the desktop; other verbs have no association.
    if (!operation.empty() && operation != "open")
        return ShellResult::NoAssociation;
    if (file.empty())
        return ShellResult::FileNotFound;

    // An address starts with its scheme's letter, so the opener never takes it for an option.
    if (IsAddress(file))
        return openWithDesktop(file, directory);

    std::string path = absolutePath(file, directory);
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        const int statError = errno;
        // A bare program name is looked up like the shell's registered programs.
        const std::optional<std::string> onPath = file.find('/') == std::string::npos ? FindOnPath(file) : std::nullopt;
        if (!onPath)
            return statError == ENOTDIR ? ShellResult::PathNotFound : ShellResult::FileNotFound;
        path = *onPath;
        if (stat(path.c_str(), &st) != 0)
            return ShellResult::FileNotFound;
    }

    if (isExecutableFile(st, path))
        return resultForErrno(StartDetached(path, CommandLineToArgv(parameters), directory));
    if (S_ISREG(st.st_mode) && (st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)))
        return ShellResult::AccessDenied; // marked executable, but not for us
    // Documents and folders: parameters mean nothing to them, as on Windows.
    return openWithDesktop(path, directory);
}

IShell& Shell()
{
    static LinuxShell shell;
    return shell;
}

} // namespace platform
