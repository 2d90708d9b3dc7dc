#include "instance/Vordergrund.h"

#include <cstdint>

namespace instance {

using namespace platform;

bool AnhaengeMethodeVerwenden(const OsVersion& v)
{
    if (v.platformId == VER_PLATFORM_WIN32_NT)
        return v.major > 4;
    if (v.platformId == VER_PLATFORM_WIN32_WINDOWS)
        return v.major > 4 || (v.major == 4 && v.minor > 0);
    return false;
}

namespace {

void NachVorne(WindowSystem& ws, WindowHandle window)
{
    ws.BringWindowToTop(window);
    ws.SetForegroundWindow(window);
}

bool MitAnhaengen(WindowSystem& ws, WindowHandle window)
{
    const ThreadId vordergrund = ws.GetWindowThreadProcessId(ws.GetForegroundWindow());
    const ThreadId ziel = ws.GetWindowThreadProcessId(window);
    if (!ws.AttachThreadInput(ziel, vordergrund, true))
        return false;
    NachVorne(ws, window);
    ws.AttachThreadInput(ziel, vordergrund, false);
    return ws.GetForegroundWindow() == window;
}

void OhneVordergrundSperre(WindowSystem& ws, WindowHandle window)
{
    std::uint32_t gemerkt = 0;
    if (!ws.SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &gemerkt, 0)) {
        // Without the value in force there is nothing safe to set back; the
        // user's setting is left alone and only the plain attempt is made.
        NachVorne(ws, window);
        return;
    }
    ws.SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
    NachVorne(ws, window);
    ws.SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                             reinterpret_cast<void*>(static_cast<std::uintptr_t>(gemerkt)), SPIF_SENDCHANGE);
}

} // namespace

bool FensterInVordergrund(WindowSystem& ws, WindowHandle window)
{
    if (ws.IsIconic(window))
        ws.ShowWindow(window, SW_RESTORE);
    if (ws.GetForegroundWindow() == window)
        return true;
    if (AnhaengeMethodeVerwenden(ws.GetVersion())) {
        if (!MitAnhaengen(ws, window))
            OhneVordergrundSperre(ws, window);
    } else {
        NachVorne(ws, window);
    }
    return ws.GetForegroundWindow() == window;
}

} // namespace instance
