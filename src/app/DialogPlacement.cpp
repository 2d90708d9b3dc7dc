#include "app/DialogPlacement.h"

#include <algorithm>

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
