#pragma once
// The primary display's rectangles the layouts place windows in (Windows:
// SystemParametersInfoW(SPI_GETWORKAREA) and the screen size). A window is
// handed the display it places itself on when it is made; tests hand in fixed
// rectangles.
#include <QRect>

class QScreen;

namespace platform {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

class IScreenArea {
public:
    virtual ~IScreenArea() = default;
    // The desktop rectangle that task bars and panels leave free, read afresh on every call.
    virtual ScreenRect WorkArea() const = 0;
    // The whole primary display.
    virtual ScreenRect PrimaryScreen() const = 0;
};

// The display the program runs on.
const IScreenArea& SystemScreenArea();

// The screen's work area in Qt's scaled coordinates, as every window fits and
// places itself in it. Under display scaling Qt rounds the device rectangle to
// the nearest scaled pixel, which may lie partly outside it (1366 device
// pixels at 1.5 are 910.67 scaled pixels, which Qt takes for 911): a window
// that fills that rectangle sticks out of the screen by a device pixel. This
// is the rectangle of the scaled pixels that lie wholly inside the device work
// area instead.
QRect WorkAreaOf(const QScreen& screen);

// The arithmetic behind it. A screen's scaled coordinates share its top-left
// corner `origin` with the device pixels; a device position d lies at
// origin + (d - origin) / ratio, which Qt rounds to the nearest whole value.
struct ScreenScale {
    int originX = 0;
    int originY = 0;
    double ratio = 1;
};

// The scaled pixels that lie wholly inside a rectangle of device pixels: its
// left and top edges rounded up, its right and bottom edges rounded down.
ScreenRect ScaledInside(const ScreenRect& device, const ScreenScale& scale);

// The device pixels that a rectangle Qt reports in scaled coordinates covers
// whatever device rectangle it was rounded from, given that the device
// rectangle lies right of and below the origin (inside its screen).
ScreenRect DeviceSurelyCovered(const ScreenRect& scaled, const ScreenScale& scale);

} // namespace platform
