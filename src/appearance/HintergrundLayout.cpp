#include "appearance/HintergrundLayout.h"

#include <algorithm>

using namespace hintergrundlayout;

namespace {

// The list `listHeight` high at the top, the buttons below it side by side or
// one above the other.
HintergrundLayoutResult arrange(const HintergrundLayoutInput& in, bool stackedButtons, int listHeight)
{
    const int R = in.margin;
    const int W = in.buttonWidth;
    HintergrundLayoutResult r;
    for (LayoutRect& b : r.button) {
        b.width = W;
        b.height = in.buttonHeight;
    }
    r.list = {R, R, 0, listHeight};
    r.button[0].left = R;
    r.button[0].top = r.list.top + listHeight + R;
    if (stackedButtons) {
        r.clientWidth = std::max(W, in.listRoom) + 2 * R;
        r.button[1].left = R;
        r.button[1].top = r.button[0].top + r.button[0].height + R;
    } else {
        r.button[1].left = 2 * r.button[0].left + W;
        r.button[1].top = r.button[0].top;
        r.clientWidth = r.button[1].left + W + r.button[0].left;
    }
    r.list.width = r.clientWidth - 2 * r.list.left;
    r.clientHeight = r.button[1].top + r.button[1].height + R;
    r.view.client = {r.clientWidth, r.clientHeight};
    return r;
}

} // namespace

HintergrundLayoutResult ComputeHintergrundLayout(const HintergrundLayoutInput& in)
{
    const int fullList = ListLines * in.lineHeight;
    HintergrundLayoutResult r = arrange(in, false, fullList);
    if (in.room.width <= 0 || in.room.height <= 0 || FitsInto(r.view.client, in.room))
        return r;

    const int shortest = MinListLines * in.lineHeight;
    for (bool stacked : {false, true}) {
        // The list takes the height the room leaves it, down to its shortest.
        const HintergrundLayoutResult without = arrange(in, stacked, 0);
        const int listHeight = std::clamp(in.room.height - without.clientHeight, shortest, fullList);
        r = arrange(in, stacked, listHeight);
        r.arrangement = stacked ? HintergrundArrangement::StackedButtons : HintergrundArrangement::ShortList;
        if (FitsInto(r.view.client, in.room))
            return r;
    }
    r.arrangement = HintergrundArrangement::Scrolled;
    r.view = FitByScrolling(r.view.client, in.room, in.scrollBarExtent);
    return r;
}
