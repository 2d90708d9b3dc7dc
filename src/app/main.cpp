// Program entry. Deliberately free of Qt: a second start ends right after the
// instance guard, and must not pay for loading the GUI toolkit. The first
// instance loads the GUI library (libzarnolith-gui.so) and runs it.
#include "instance/InstanceGuard.h"
#include "instance/Messages.h"
#include "platform/AtomicFile.h"
#include "platform/NamedMutex.h"
#include "platform/RemoteWindowList.h"
#include "platform/RuntimeDirectory.h"
#include "util/DateNameAdjustment.h"
#include "util/ProgramPath.h"

#include <dlfcn.h>

#include <cstdio>
#include <string>

namespace {

using GuiMain = int (*)(int, char**);

GuiMain loadGui()
{
    // Installed, bin/zarnolith is a link; the kernel reports the real file
    // in lib/zarnolith, where the library lies beside it.
    const std::string path = util::ProgramDirectory() + "libzarnolith-gui.so";
    if (void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
        return reinterpret_cast<GuiMain>(dlsym(lib, "zarnolith_gui_main"));
    std::fprintf(stderr, "zarnolith: %s\n", dlerror());
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
    const std::string runtimeDirectory = platform::UserRuntimeDirectory().value_or(std::string());
    platform::FlockNamedMutex instanceLock(runtimeDirectory);
    instance::GuardResult guard;
    {
        platform::RemoteWindowList runningInstance(
            runtimeDirectory.empty() ? std::string()
                                     : platform::ChannelSocketPath(runtimeDirectory, instance::kInstanceName));
        guard = instance::CheckInstance(instanceLock, runningInstance);
    }
    if (!guard.firstInstance)
        return 0;

    // 3.-5. Toolkit, windows and message loop live in the GUI library.
    GuiMain guiMain = loadGui();
    if (!guiMain) {
        std::fprintf(stderr, "zarnolith: the GUI library libzarnolith-gui.so was not found beside the program.\n");
        return 1;
    }
    const int rc = guiMain(argc, argv);

    // 6. Release the guard's lock, then exit.
    instance::ReleaseInstance(instanceLock, guard.handle);
    return rc;
}
