#include "platform/ScreenArea.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {
namespace {

std::optional<ScreenRect> g_screen;
std::optional<ScreenRect> g_workArea;

ScreenRect fromQRect(const QRect& r) { return {r.left(), r.top(), r.width(), r.height()}; }

} // namespace

ScreenRect WorkArea()
{
    if (g_workArea)
        return *g_workArea;
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? fromQRect(s->availableGeometry()) : ScreenRect{};
}

ScreenRect PrimaryScreen()
{
    if (g_screen)
        return *g_screen;
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? fromQRect(s->geometry()) : ScreenRect{};
}

void SetScreenOverride(std::optional<ScreenRect> screen, std::optional<ScreenRect> workArea)
{
    g_screen = screen;
    g_workArea = workArea;
}

} // namespace platform
