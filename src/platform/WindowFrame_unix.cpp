// X11 is asked through its window manager (X11Window.h); Wayland tells nothing.
#include "platform/WindowFrame.h"

namespace platform {

std::optional<NativeOuter> NativeOuterRect(const QWidget&) { return std::nullopt; }

bool SystemPlacesMaximised(const QWidget&) { return false; }

} // namespace platform
