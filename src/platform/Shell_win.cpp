#ifdef _WIN32
// The Windows shell start: ShellExecuteW with every text as given, converted
// to UTF-16; an empty text goes as an empty string, never as a null pointer.
#include "platform/Shell.h"
#include "platform/Utf8.h"

#include <windows.h>

#include <shellapi.h>

// <shellapi.h> maps ShellExecute onto its ANSI or wide variant by macro.
#undef ShellExecute

namespace platform {

namespace {

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

class WinShell final : public IShell {
public:
    int ShellExecute(std::uintptr_t owner, const std::string& operation, const std::string& file,
                     const std::string& parameters, const std::string& directory, int showCommand) override
    {
        const std::u16string wideOperation = Utf8ToUtf16(operation);
        const std::u16string wideFile = Utf8ToUtf16(file);
        const std::u16string wideParameters = Utf8ToUtf16(parameters);
        const std::u16string wideDirectory = Utf8ToUtf16(directory);
        const HINSTANCE result = ::ShellExecuteW(reinterpret_cast<HWND>(owner), wide(wideOperation), wide(wideFile),
                                                 wide(wideParameters), wide(wideDirectory), showCommand);
        // Not a real module handle: the shell's result code in that type's clothes.
        return static_cast<int>(reinterpret_cast<INT_PTR>(result));
    }
};

} // namespace

IShell& Shell()
{
    static WinShell shell;
    return shell;
}

} // namespace platform
#endif
