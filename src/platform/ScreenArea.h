#pragma once
// The primary display's rectangles the layouts place windows in (Windows:
// SystemParametersInfoW(SPI_GETWORKAREA) and the screen size). A window is
// handed the display it places itself on when it is made; tests hand in fixed
// rectangles.

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

} // namespace platform
