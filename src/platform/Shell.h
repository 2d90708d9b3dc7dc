#pragma once
// The shell's start service (Windows: ShellExecuteW). Texts are UTF-8; an
// empty text stands for an empty string, never for "not given".
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Results as the Windows shell reports them: above 32 means started.
namespace ShellResult {
inline constexpr int OutOfResources = 0;
inline constexpr int FileNotFound = 2;
inline constexpr int PathNotFound = 3;
inline constexpr int AccessDenied = 5;
inline constexpr int OutOfMemory = 8;
inline constexpr int BadFormat = 11;
inline constexpr int NoAssociation = 31;
inline constexpr int Started = 42;
} // namespace ShellResult

class IShell {
public:
    virtual ~IShell() = default;
    // Arguments in ShellExecuteW's own order. owner: the owning window's
    // native handle (0 = none).
    virtual int ShellExecute(std::uintptr_t owner, const std::string& operation, const std::string& file,
                             const std::string& parameters, const std::string& directory, int showCommand)
        = 0;
};

// The running platform's shell.
IShell& Shell();

#ifndef _WIN32
// The shell start on Linux desktops. Web and mail addresses, documents and
// folders go to the desktop's opener (xdg-open, looked up on PATH at each
// call) as one argument; a file with the execute bit is started directly with
// the parameters split like a Windows command line. Nothing goes through a
// command interpreter, so no character in a text has a special meaning.
class LinuxShell : public IShell {
public:
    int ShellExecute(std::uintptr_t owner, const std::string& operation, const std::string& file,
                     const std::string& parameters, const std::string& directory, int showCommand) override;

    // "scheme:rest" with a scheme of at least two letters (one letter would be a drive).
    static bool IsAddress(const std::string& text);
    // The first executable file of that name in the directories of PATH.
    static std::optional<std::string> FindOnPath(const std::string& name);
};
#endif

} // namespace platform
