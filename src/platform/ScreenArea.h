#pragma once
// The primary display's rectangles the layouts place windows in (Windows:
// SystemParametersInfoW(SPI_GETWORKAREA) and the screen size).
#include <optional>

namespace platform {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// The desktop rectangle that task bars and panels leave free, read afresh on every call.
ScreenRect WorkArea();
// The whole primary display.
ScreenRect PrimaryScreen();

// For tests: fixed rectangles instead of the display's (nullopt = the display's own).
void SetScreenOverride(std::optional<ScreenRect> screen, std::optional<ScreenRect> workArea);

} // namespace platform
