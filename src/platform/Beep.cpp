#include "platform/Beep.h"

#include <QApplication>

namespace platform {

namespace {
std::function<void()>& hook()
{
    static std::function<void()> h;
    return h;
}
} // namespace

void MessageBeep()
{
    if (hook())
        hook()();
    else
        QApplication::beep();
}

std::function<void()> SetBeepHook(std::function<void()> h)
{
    auto previous = std::move(hook());
    hook() = std::move(h);
    return previous;
}

} // namespace platform
