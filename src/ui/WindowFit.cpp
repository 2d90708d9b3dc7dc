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

TextWindowFit FitTextWindow(const LayoutSize& wanted, const LayoutSize& around, const LayoutSize& least,
                            const LayoutSize& room, int scrollBarExtent, int widestWord,
                            const std::function<LayoutSize(int)>& wrapped)
{
    TextWindowFit f;
    f.window = wanted;
    if (FitsInto(wanted, room))
        return f;
    f.changed = true;
    const auto windowFor = [&](const LayoutSize& view) {
        return LayoutSize{std::max(least.width, around.width + view.width),
                          std::max(least.height, around.height + view.height)};
    };
    // The text column as wide as it was, wider where one word is wider than
    // that, never wider than the room.
    const int most = std::max(1, room.width - around.width);
    const auto columnFor = [&](int besideWord) {
        return std::clamp(std::max(wanted.width - around.width, widestWord + besideWord), 1, most);
    };
    const int height = std::max(1, room.height - around.height);
    int column = columnFor(0);
    const auto wrapAt = [&](int width, int bar) {
        f.text = wrapped(std::max(1, width - bar));
        f.view = FitByScrolling(f.text, {width, height}, scrollBarExtent);
    };
    wrapAt(column, 0);
    if (f.view.vertical && column < most) {
        // Too high at the width it had: as wide as the room, so less of it scrolls.
        column = most;
        wrapAt(column, 0);
    }
    if (f.view.vertical) {
        // Beside a scroll bar the text wraps in what the bar leaves.
        column = std::max(column, columnFor(scrollBarExtent));
        wrapAt(column, scrollBarExtent);
    }
    f.window = windowFor(f.view.client);
    return f;
}
