// Program entry. Deliberately free of Qt: a second start ends right after the
// instance guard, and must not pay for loading the GUI toolkit. The first
// instance loads the GUI library (libzarnolith-gui.so, zarnolith-gui.dll)
// from beside the program file and runs it.
#include "instance/InstanceGuard.h"
#include "instance/Messages.h"
#include "platform/Process.h"
#include "util/DateNameAdjustment.h"
#include "util/ProgramPath.h"

#ifdef _WIN32
#include "instance/NamedMutex.h"
#include "instance/WindowSystem.h"
#else
#include "instance/RemoteWindowList.h"
#include "instance/RuntimeDirectory.h"
#endif

#include <cstdio>
#include <string>

namespace {

platform::EntryPoint loadGui(const std::string& library)
{
    std::string error;
    if (auto entry = platform::LoadEntryPoint(library, "zarnolith_gui_main", &error))
        return entry;
    std::fprintf(stderr, "zarnolith: %s\n", error.c_str());
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    // A save past the file-size limit fails and says so; it must not end the program.
    platform::IgnoreFileSizeSignal();
    // 1. Start-up adjustment of the regional date names (util).
    util::TagesnamenAnpassen();
    util::MonatsnamenAnpassen();
    // 2. Single-instance guard (instance): a second start asks the running
    //    instance to come to the front and ends here, without a window.
    //    The lock stays held through the whole run of the GUI below.
#ifdef _WIN32
    instance::Win32NamedMutex instanceLock;
    instance::GuardResult guard;
    {
        instance::Win32WindowSystem runningInstance;
        guard = instance::CheckInstance(instanceLock, runningInstance);
    }
#else
    const std::string runtimeDirectory = instance::UserRuntimeDirectory().value_or(std::string());
    instance::FlockNamedMutex instanceLock(runtimeDirectory);
    instance::GuardResult guard;
    {
        instance::RemoteWindowList runningInstance(
            runtimeDirectory.empty() ? std::string()
                                     : instance::ChannelSocketPath(runtimeDirectory, instance::kInstanceName));
        guard = instance::CheckInstance(instanceLock, runningInstance);
    }
#endif
    if (!guard.firstInstance)
        return 0;

    // 3.-5. Toolkit, windows and message loop live in the GUI library.
    // Installed on Linux, bin/zarnolith is a link; the system reports the real
    // file in lib/zarnolith, where the library lies beside it.
    // The font configuration is read meanwhile, on a second processor where there is one.
    platform::EarlyFontConfiguration fontConfiguration;
    const std::string guiLibrary = util::ProgramDirectory() + ZARNOLITH_GUI_LIBRARY;
    platform::EntryPoint guiMain = loadGui(guiLibrary);
    fontConfiguration.Wait();
    if (!guiMain) {
        // Not a running instance: a new start while the box below is open
        // tries again and says so itself, instead of ending silently.
        instance::ReleaseInstance(instanceLock, guard.handle);
        std::fprintf(stderr,
                     "zarnolith: the GUI library " ZARNOLITH_GUI_LIBRARY " was not found beside the program.\n");
#ifdef _WIN32
        // Missing or damaged after a partial unpacking or a virus scanner's
        // quarantine: started from Explorer, the user would see nothing at all.
        platform::ShowErrorBox("Fehler",
                               "Die Programmdatei " ZARNOLITH_GUI_LIBRARY " fehlt oder ist beschädigt:\n" + guiLibrary);
#endif
        return 1;
    }
    const int rc = guiMain(argc, argv);

    // 6. Release the guard's lock, then exit.
    instance::ReleaseInstance(instanceLock, guard.handle);
    return rc;
}
