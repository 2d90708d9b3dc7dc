#pragma once
// The shell start on Linux desktops. Web and mail addresses, documents and
// folders go to the desktop's opener (xdg-open, looked up on PATH at each
// call) as one argument; a file with the execute bit is started directly with
// the parameters split like a Windows command line. Nothing goes through a
// command interpreter, so no character in a text has a special meaning.
#include "platform/IShell.h"

#include <optional>

namespace platform {

class LinuxShell : public IShell {
public:
    int ShellExecute(std::uintptr_t owner, const std::string& operation, const std::string& file,
                     const std::string& parameters, const std::string& directory, int showCommand) override;

    // "scheme:rest" with a scheme of at least two letters (one letter would be a drive).
    static bool IsAddress(const std::string& text);
    // The first executable file of that name in the directories of PATH.
    static std::optional<std::string> FindOnPath(const std::string& name);
};

} // namespace platform
