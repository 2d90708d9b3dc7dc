#pragma once
// Fitting a window into the work area, as plain arithmetic: a window keeps
// the layout its formulas give while its outer size fits the work area;
// beyond that its content is arranged tighter or scrolls inside a client that
// fits, and the whole outer rectangle (frame and title bar included) is kept
// inside the work area, so every control stays reachable.
#include "ui/LayoutGeometry.h"

// The room a window's client may take: the work area less what lies around
// the client (frame, title bar, menu bar), never below 1 x 1.
LayoutSize ClientRoom(const LayoutSize& workArea, const LayoutSize& aroundClient);

constexpr bool FitsInto(const LayoutSize& size, const LayoutSize& room)
{
    return size.width <= room.width && size.height <= room.height;
}

// A content larger than the room, shown in a client that fits: the client is
// the visible part of the content plus a scroll bar (`scrollBarExtent`
// thick) along each direction the content overflows.
struct ScrollFit {
    LayoutSize client;
    bool horizontal = false; // a horizontal scroll bar (the content is wider)
    bool vertical = false;   // a vertical scroll bar (the content is taller)
};
ScrollFit FitByScrolling(const LayoutSize& content, const LayoutSize& room, int scrollBarExtent);

// Where a window goes so that its outer rectangle stays inside the work area:
// `wanted` where it already lies inside, else moved the least that brings it
// in. A window larger than the work area keeps its top-left corner (title bar
// and menu) in the work area's top-left corner.
LayoutPoint KeepInside(const LayoutRect& workArea, const LayoutPoint& wanted, const LayoutSize& outer);
