#include "instance/InstanzWaechter.h"

#include "instance/FensterSuche.h"
#include "instance/Nachrichten.h"

namespace instance {

WaechterErgebnis InstanzPruefen(platform::NamedMutex& mutexe, platform::WindowSystem& fenster)
{
    WaechterErgebnis ergebnis;
    ergebnis.handle = mutexe.CreateMutexW(kInstanzName);
    if (mutexe.GetLastError() != platform::ERROR_ALREADY_EXISTS)
        return ergebnis;
    // The handle is not closed: the end of this process releases it.
    ergebnis.ersteInstanz = false;
    if (const platform::WindowHandle w = FensterMitTitelSuchen(fenster, kHauptfensterTitel))
        fenster.PostMessageW(w, WM_AKTIVIEREN, 0, 0);
    return ergebnis;
}

void InstanzFreigeben(platform::NamedMutex& mutexe, platform::MutexHandle handle)
{
    if (handle != 0)
        mutexe.CloseHandle(handle);
}

} // namespace instance
