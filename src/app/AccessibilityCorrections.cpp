#include "app/AccessibilityCorrections.h"

#ifdef _WIN32

// Windows has a bridge of its own (UI Automation); what is corrected here is
// what Qt tells over AT-SPI.
void InstallAccessibilityCorrections() {}

#else

#include "app/AtSpiDevicePixels.h"

void InstallAccessibilityCorrections()
{
    static const bool installed = [] {
        InstallAtSpiDevicePixels();
        return true;
    }();
    Q_UNUSED(installed);
}

#endif
