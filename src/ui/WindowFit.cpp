#include "ui/WindowFit.h"

#include <algorithm>

LayoutSize ClientRoom(const LayoutSize& workArea, const LayoutSize& aroundClient)
{
    return {std::max(1, workArea.width - aroundClient.width), std::max(1, workArea.height - aroundClient.height)};
}

ScrollFit FitByScrolling(const LayoutSize& content, const LayoutSize& room, int scrollBarExtent)
{
    ScrollFit f;
    // A scroll bar along one edge takes room from the other direction, which
    // may then overflow too: settle both in two rounds.
    for (int round = 0; round < 2; ++round) {
        f.horizontal = content.width > room.width - (f.vertical ? scrollBarExtent : 0);
        f.vertical = content.height > room.height - (f.horizontal ? scrollBarExtent : 0);
    }
    const int barsWidth = f.vertical ? scrollBarExtent : 0;
    const int barsHeight = f.horizontal ? scrollBarExtent : 0;
    f.client.width = std::min(content.width + barsWidth, room.width);
    f.client.height = std::min(content.height + barsHeight, room.height);
    return f;
}

namespace {

int keepInside(int start, int length, int wanted, int size)
{
    if (size >= length)
        return start;
    return std::clamp(wanted, start, start + length - size);
}

} // namespace

LayoutPoint KeepInside(const LayoutRect& workArea, const LayoutPoint& wanted, const LayoutSize& outer)
{
    return {keepInside(workArea.left, workArea.width, wanted.x, outer.width),
            keepInside(workArea.top, workArea.height, wanted.y, outer.height)};
}
