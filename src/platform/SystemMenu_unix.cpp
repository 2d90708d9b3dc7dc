// X11 window managers and Wayland compositors offer no size command for a
// window whose minimum and maximum size are the same.
#include "platform/SystemMenu.h"

namespace platform {

void RemoveSizeCommand(QWidget&) {}

} // namespace platform
