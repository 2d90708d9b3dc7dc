#pragma once
// Fitting a window into the work area, as plain arithmetic: a window keeps
// the layout its formulas give while its outer size fits the work area;
// beyond that its content is arranged tighter or scrolls inside a client that
// fits, and the whole outer rectangle (frame and title bar included) is kept
// inside the work area, so every control stays reachable.
#include "ui/LayoutGeometry.h"

#include <functional>

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

// A window that shows one text beside fixed parts (a message box: icon and
// button row). The window's size for a text view of size v is
// { max(least.width, around.width + v.width), max(least.height, around.height + v.height) }:
// `around` what lies beside and below the text, `least` the size with no text
// at all. `wanted` is the window's size as it lays itself out for the whole
// text; `wrapped(w)` measures the text wrapped at width w (broken between
// words, a word wider than w within it, so never wider than w), `widestWord`
// the width of its widest word. Where `wanted` fits the room it stays as it
// is. Else the text wraps at the width it had, widened to its widest word
// where the room allows, narrowed to the room's width; where it is still too
// high it takes the room's whole width, and where it is too high even then it
// scrolls up and down in the height that is left, beside a scroll bar.
struct TextWindowFit {
    bool changed = false; // false: the window keeps its own layout
    LayoutSize window;    // the window's client
    ScrollFit view;       // the text's view, scroll bars included
    LayoutSize text;      // the text's own size, at its wrapping width
};
TextWindowFit FitTextWindow(const LayoutSize& wanted, const LayoutSize& around, const LayoutSize& least,
                            const LayoutSize& room, int scrollBarExtent, int widestWord,
                            const std::function<LayoutSize(int)>& wrapped);
