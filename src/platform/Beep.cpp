#include "platform/Beep.h"

#include <QApplication>

namespace platform {

namespace {
class QtBeep final : public IBeep {
public:
    void MessageBeep() override { QApplication::beep(); }
};
} // namespace

IBeep& SystemBeep()
{
    static QtBeep beep;
    return beep;
}

} // namespace platform
