#pragma once
// Stand-ins for the system services a window is handed when it is made: a beep
// that counts, and a display whose rectangles a test fixes (the real display's
// where it fixes none).
#include "platform/Beep.h"
#include "platform/ScreenArea.h"

#include <optional>

namespace standin {

struct CountingBeep final : platform::IBeep {
    int count = 0;
    void MessageBeep() override { ++count; }
};

struct FixedScreenArea final : platform::IScreenArea {
    std::optional<platform::ScreenRect> screen;
    std::optional<platform::ScreenRect> workArea;

    platform::ScreenRect WorkArea() const override
    {
        return workArea ? *workArea : platform::SystemScreenArea().WorkArea();
    }
    platform::ScreenRect PrimaryScreen() const override
    {
        return screen ? *screen : platform::SystemScreenArea().PrimaryScreen();
    }
};

} // namespace standin
