#pragma once
// The text-background dialog's layout as plain arithmetic: measured sizes in,
// rectangles out. THintergrundForm measures its controls, calls this and
// applies the result.
#include "ui/LayoutGeometry.h"
#include "ui/WindowFit.h"

struct HintergrundLayoutInput {
    int margin = 0;       // FRand: around and between the controls
    int buttonWidth = 0;  // both buttons: the longest caption and "MM", measured
    int buttonHeight = 0; // HoeheFuerSchrift for a push button
    int lineHeight = 0;   // HoeheFuerSchrift for a label in the list's font
    // The width the list needs to show its longest name beside a vertical
    // scroll bar (0 = not measured).
    int listRoom = 0;
    // The room the work area leaves for the client (0 x 0: no limit). Beyond
    // it the dialog fits: the list shortens and scrolls, the buttons stack,
    // then the dialog scrolls.
    LayoutSize room;
    int scrollBarExtent = 0;
};

// The formulas' 20-line list with the buttons side by side, a shorter list,
// the buttons one above the other, or that in a scrolling client.
enum class HintergrundArrangement { Full, ShortList, StackedButtons, Scrolled };

struct HintergrundLayoutResult {
    LayoutRect list;
    LayoutRect button[2];
    // The controls' area (the whole client unless it scrolls).
    int clientWidth = 0;
    int clientHeight = 0;
    HintergrundArrangement arrangement = HintergrundArrangement::Full;
    ScrollFit view;
};

namespace hintergrundlayout {
constexpr int ListLines = 20;   // all 19 names and one line to spare
constexpr int MinListLines = 3; // the selection and a neighbour on either side
} // namespace hintergrundlayout

HintergrundLayoutResult ComputeHintergrundLayout(const HintergrundLayoutInput& in);
