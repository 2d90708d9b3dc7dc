#include "ui/DialogPlacement.h"

#include "platform/X11Window.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <climits>

namespace {

struct Outer {
    QRect rect;          // frame included
    QPoint clientOffset; // what Qt's move() needs added to reach the frame's position
};

Outer outerOf(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    if (frame.size() != window.size() || window.internalWinId() == 0)
        return {frame, {}};
    const std::optional<platform::FrameExtents> e = platform::X11FrameExtents(window.internalWinId());
    if (!e)
        return {frame, {}};
    return {frame.adjusted(-e->left, -e->top, e->right, e->bottom), {e->left, e->top}};
}

} // namespace

QRect OuterGeometry(const QWidget& window) { return outerOf(window).rect; }

void PlaceOuter(QWidget& window, const std::function<LayoutPoint(const QRect& outer)>& rule)
{
    const Outer o = outerOf(window);
    const LayoutPoint p = rule(o.rect);
    window.move(p.x + o.clientOffset.x(), p.y + o.clientOffset.y());
}

LayoutPoint DialogScreenPosition(const LayoutSize& screen, const LayoutSize& outer)
{
    return {std::max(0, HalfOf(screen.width - outer.width) - 1), std::max(0, HalfOf(screen.height - outer.height) - 1)};
}

LayoutPoint CentreOverOwner(const LayoutRect& owner, const LayoutSize& outer, const LayoutRect& workArea)
{
    return {std::max(owner.left + HalfOf(owner.width - outer.width), workArea.left),
            std::max(owner.top + HalfOf(owner.height - outer.height), workArea.top)};
}

void MoveCentredOverOwner(QWidget& dialog, const QWidget& owner)
{
    const QRect o = OuterGeometry(owner);
    // Without a screen there is no work-area edge to raise to.
    QRect workArea(INT_MIN / 2, INT_MIN / 2, 0, 0);
    if (const QScreen* screen = owner.screen())
        workArea = screen->availableGeometry();
    PlaceOuter(dialog, [&](const QRect& outer) {
        return CentreOverOwner({o.x(), o.y(), o.width(), o.height()}, {outer.width(), outer.height()},
                               {workArea.x(), workArea.y(), workArea.width(), workArea.height()});
    });
}
