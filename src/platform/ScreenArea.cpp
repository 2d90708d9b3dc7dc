#include "platform/ScreenArea.h"

#include "platform/X11Window.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace platform {
namespace {

ScreenRect fromQRect(const QRect& r) { return {r.left(), r.top(), r.width(), r.height()}; }
QRect toQRect(const ScreenRect& r) { return QRect(r.left, r.top, r.width, r.height); }

// A scaled value that is a whole number in exact arithmetic may come out a
// hair beside it in floating point (1365 / 1.5).
constexpr double Tolerance = 1e-9;

int up(double v) { return static_cast<int>(std::ceil(v - Tolerance)); }
int down(double v) { return static_cast<int>(std::floor(v + Tolerance)); }

// One direction of ScaledInside: [start, end) device pixels from the origin.
std::pair<int, int> inside(int start, int end, double ratio)
{
    const int first = up(start / ratio);
    return {first, std::max(first, down(end / ratio))};
}

// One direction of DeviceSurelyCovered: a scaled start s and length n from the
// origin. Qt's s is the device start d divided by the ratio and rounded, so d
// lies in [ratio (s - 1/2), ratio (s + 1/2)); likewise the device length. The
// pixels every such rectangle covers run from the latest start to the
// earliest end.
std::pair<int, int> surelyCovered(int start, int length, double ratio)
{
    const int latestStart = up(ratio * (start + 0.5)) - 1;
    const int earliestStart = std::max(0, up(ratio * (start - 0.5)));
    const int shortest = std::max(0, up(ratio * (length - 0.5)));
    return {latestStart, std::max(latestStart, earliestStart + shortest)};
}

class QtScreenArea final : public IScreenArea {
public:
    ScreenRect WorkArea() const override
    {
        const QScreen* s = QGuiApplication::primaryScreen();
        return s ? fromQRect(WorkAreaOf(*s)) : ScreenRect{};
    }

    ScreenRect PrimaryScreen() const override
    {
        const QScreen* s = QGuiApplication::primaryScreen();
        return s ? fromQRect(s->geometry()) : ScreenRect{};
    }
};

} // namespace

ScreenRect ScaledInside(const ScreenRect& device, const ScreenScale& scale)
{
    if (scale.ratio <= 0)
        return device;
    const auto [left, right]
        = inside(device.left - scale.originX, device.left + device.width - scale.originX, scale.ratio);
    const auto [top, bottom]
        = inside(device.top - scale.originY, device.top + device.height - scale.originY, scale.ratio);
    return {scale.originX + left, scale.originY + top, right - left, bottom - top};
}

ScreenRect DeviceSurelyCovered(const ScreenRect& scaled, const ScreenScale& scale)
{
    if (scale.ratio <= 0)
        return scaled;
    const auto [left, right] = surelyCovered(scaled.left - scale.originX, scaled.width, scale.ratio);
    const auto [top, bottom] = surelyCovered(scaled.top - scale.originY, scaled.height, scale.ratio);
    return {scale.originX + left, scale.originY + top, right - left, bottom - top};
}

QRect WorkAreaOf(const QScreen& screen)
{
    const QRect available = screen.availableGeometry();
    const qreal ratio = screen.devicePixelRatio();
    if (std::abs(ratio - 1) < Tolerance)
        return available; // device pixels and scaled pixels are one
    const ScreenScale scale{screen.geometry().left(), screen.geometry().top(), ratio};
    ScreenRect device = DeviceSurelyCovered(fromQRect(available), scale);
    if (const std::optional<DeviceWorkArea> x = X11WorkArea()) {
        // What Qt itself rounded: the window manager's work area on this
        // screen. With one screen its device size is the root window's; with
        // more, each screen's far edges are known only as Qt rounded them.
        QRect onScreen(x->left, x->top, x->width, x->height);
        if (QGuiApplication::screens().size() > 1)
            onScreen &= toQRect(DeviceSurelyCovered(fromQRect(screen.geometry()), scale));
        if (!onScreen.isEmpty())
            device = fromQRect(onScreen);
    }
    const QRect inner = toQRect(ScaledInside(device, scale));
    return inner.isEmpty() ? available : inner;
}

const IScreenArea& SystemScreenArea()
{
    static const QtScreenArea screenArea;
    return screenArea;
}

} // namespace platform
