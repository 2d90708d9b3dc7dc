#include "platform/Beep.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <QApplication>
#endif

namespace platform {

namespace {
class SystemDefaultBeep final : public IBeep {
public:
#ifdef _WIN32
    void MessageBeep() override { ::MessageBeep(0); }
#else
    void MessageBeep() override { QApplication::beep(); }
#endif
};
} // namespace

IBeep& SystemBeep()
{
    static SystemDefaultBeep beep;
    return beep;
}

} // namespace platform
