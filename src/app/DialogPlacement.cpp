#include "app/DialogPlacement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <climits>

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
    const QRect o = owner.frameGeometry();
    const QSize outer = dialog.frameGeometry().size();
    // Without a screen there is no work-area edge to raise to.
    QRect workArea(INT_MIN / 2, INT_MIN / 2, 0, 0);
    if (const QScreen* screen = owner.screen())
        workArea = screen->availableGeometry();
    const LayoutPoint p = CentreOverOwner({o.x(), o.y(), o.width(), o.height()}, {outer.width(), outer.height()},
                                          {workArea.x(), workArea.y(), workArea.width(), workArea.height()});
    dialog.move(p.x, p.y);
}
