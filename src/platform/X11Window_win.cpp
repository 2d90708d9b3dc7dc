// Builds without X11 (Windows): no window manager to ask, so every caller
// keeps its plain Qt path.
#include "platform/X11Window.h"

namespace platform {

std::optional<FrameExtents> X11FrameExtents(std::uintptr_t, bool*) { return std::nullopt; }

std::optional<FrameExtents> X11KnownFrameExtents(std::uintptr_t) { return std::nullopt; }

bool X11Activate(std::uintptr_t) { return false; }

std::optional<DeviceWorkArea> X11WorkArea() { return std::nullopt; }

} // namespace platform
