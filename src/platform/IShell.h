#pragma once
// The shell's start service (Windows: ShellExecuteW). Texts are UTF-8; an
// empty text stands for an empty string, never for "not given".
#include <cstdint>
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

} // namespace platform
