#pragma once
// A top-level window's outer rectangle as the window system itself reports
// it, where it can be asked directly: on Windows, GetWindowRect, which the
// frame Qt computes for a window does not always match (under Wine's frames
// its height fell 4 pixels short). Elsewhere there is no such question, and
// callers keep their own way to the frame.
#include <QPoint>
#include <QRect>

#include <optional>

class QWidget;

namespace platform {

struct NativeOuter {
    QRect rect;        // frame, title bar and menu bar included; Qt's device-independent pixels
    QPoint moveOffset; // added to a position, QWidget::move() puts this rectangle's corner there
};

// nullopt before the window has a native window, and not on Windows.
std::optional<NativeOuter> NativeOuterRect(const QWidget& window);

// Whether the window system itself holds a maximised window's place, so a
// move of it is no placement but a restore: on Windows (a maximised window's
// frame lies outside the work area by its border, -4,-4 under Wine's frames,
// so it is never "at the corner" already, and moved there it is no longer
// maximised). Elsewhere a maximised window is placed like any other.
bool SystemPlacesMaximised(const QWidget& window);

} // namespace platform
