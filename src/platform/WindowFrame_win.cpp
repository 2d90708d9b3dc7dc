#include "platform/WindowFrame.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtMath>

#include <windows.h>

namespace platform {

std::optional<NativeOuter> NativeOuterRect(const QWidget& window)
{
    // Only Windows' own windows have a frame to ask for (the test platform's ids are no HWNDs).
    const bool native = QGuiApplication::platformName() == QLatin1String("windows");
    const WId id = native && window.isWindow() ? window.internalWinId() : 0;
    if (id == 0)
        return std::nullopt;
    const auto hwnd = reinterpret_cast<HWND>(id);
    RECT outer{};
    RECT client{};
    POINT clientOrigin{0, 0};
    if (!::GetWindowRect(hwnd, &outer) || !::GetClientRect(hwnd, &client) || !::ClientToScreen(hwnd, &clientOrigin))
        return std::nullopt;
    // The frame's widths in the window's own pixels, scaled to Qt's
    // device-independent ones around the client rectangle Qt knows, so the
    // rectangle needs no mapping between the screens' coordinate systems.
    const qreal scale = window.devicePixelRatioF();
    const auto logical = [scale](LONG pixels) { return qRound(static_cast<qreal>(pixels) / scale); };
    const QRect inner = window.geometry();
    const QRect rect = inner.adjusted(-logical(clientOrigin.x - outer.left), -logical(clientOrigin.y - outer.top),
                                      logical(outer.right - (clientOrigin.x + client.right)),
                                      logical(outer.bottom - (clientOrigin.y + client.bottom)));
    // move() places the frame Qt computes; the offset carries its corner onto this one.
    return NativeOuter{rect, window.frameGeometry().topLeft() - rect.topLeft()};
}

bool SystemPlacesMaximised(const QWidget& window)
{
    return QGuiApplication::platformName() == QLatin1String("windows") && window.isWindow();
}

} // namespace platform
