#include "app/DialogPlacement.h"

#include "platform/X11Window.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <climits>

namespace {

// The frame the window manager puts around the window, when Qt does not know it yet.
std::optional<platform::FrameExtents> unknownFrame(const QWidget& window)
{
    if (window.frameGeometry().size() != window.size() || window.internalWinId() == 0)
        return std::nullopt;
    return platform::X11FrameExtents(window.internalWinId());
}

} // namespace

QRect OuterGeometry(const QWidget& window)
{
    const std::optional<platform::FrameExtents> e = unknownFrame(window);
    const QRect frame = window.frameGeometry();
    return e ? frame.adjusted(-e->left, -e->top, e->right, e->bottom) : frame;
}

void MoveOuterTo(QWidget& window, const LayoutPoint& topLeft)
{
    const std::optional<platform::FrameExtents> e = unknownFrame(window);
    window.move(topLeft.x + (e ? e->left : 0), topLeft.y + (e ? e->top : 0));
}

LayoutPoint DialogScreenPosition(const LayoutSize& screen, const LayoutSize& outer)
{
    return {std::max(0, HalfOf(screen.width - outer.width) - 1),
            std::max(0, HalfOf(screen.height - outer.height) - 1)};
}

LayoutPoint CentreOverOwner(const LayoutRect& owner, const LayoutSize& outer, const LayoutRect& workArea)
{
    return {std::max(owner.left + HalfOf(owner.width - outer.width), workArea.left),
            std::max(owner.top + HalfOf(owner.height - outer.height), workArea.top)};
}

void MoveCentredOverOwner(QWidget& dialog, const QWidget& owner)
{
    const QRect o = OuterGeometry(owner);
    const QSize outer = OuterSize(dialog);
    // Without a screen there is no work-area edge to raise to.
    QRect workArea(INT_MIN / 2, INT_MIN / 2, 0, 0);
    if (const QScreen* screen = owner.screen())
        workArea = screen->availableGeometry();
    const LayoutPoint p = CentreOverOwner({o.x(), o.y(), o.width(), o.height()}, {outer.width(), outer.height()},
                                          {workArea.x(), workArea.y(), workArea.width(), workArea.height()});
    MoveOuterTo(dialog, p);
}
