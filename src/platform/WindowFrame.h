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

} // namespace platform
