#pragma once
// The main window's layout as plain arithmetic: measured sizes in, rectangles
// out. TForm1 measures its controls, calls these and applies the result.
#include "ui/LayoutGeometry.h"
#include "ui/WindowFit.h"

#include <functional>

struct MainLayoutInput {
    // Sizes the controls took by themselves from their font.
    LayoutSize label[4];    // Label1..Label4: caption width, line height
    int editHeight[2] = {}; // Edit1, Edit2
    int spinHeight[2] = {}; // SpinEdit1, SpinEdit2
    int buttonHeight = 0;   // HoeheFuerSchrift for the push button
    int statusHeight = 0;   // HoeheFuerSchrift for the status bar
    // Widths the texts need (0 = not measured). A field, the button or the
    // client area grows beyond its fixed width only where that would cut a text.
    int fieldRoom = 0;  // the widest text of any of the four fields
    int buttonRoom = 0; // the button's caption
    int statusRoom = 0; // the status hint
    // The room the work area leaves for the client (0 x 0: no limit). Beyond
    // it the window fits: the hint wraps, the columns stack, then it scrolls.
    LayoutSize room;
    int scrollBarExtent = 0;
    // The status bar's height with its hint wrapped into a bar of that width,
    // and the width its widest word needs (a wrapped hint is never narrower).
    std::function<int(int width)> statusHeightFor;
    int statusWordRoom = 0;
};

// How the controls are arranged: the two-column grid of the formulas (with
// the hint on one line, or wrapped where that line would not fit), the
// columns stacked one above the other, or stacked in a scrolling client.
enum class MainArrangement { Grid, GridWrappedHint, Stacked, Scrolled };

struct MainLayoutResult {
    LayoutRect label[4];
    LayoutRect edit[2];
    LayoutRect spin[2];
    LayoutRect button;
    // The controls' area, the status bar at its bottom (the whole client
    // unless it scrolls).
    int clientWidth = 0;
    int clientHeight = 0;
    int statusHeight = 0;
    MainArrangement arrangement = MainArrangement::Grid;
    bool statusWrapped = false;
    // The client as the window shows it, with any scroll bars.
    ScrollFit view;
};

namespace mainlayout {
constexpr int Margin = 10;  // outer margin, gap between columns and rows
constexpr int LabelGap = 5; // between a label and its field
constexpr int FieldWidth = 100;
constexpr int ButtonWidth = 187;
constexpr int BelowButton = 10;
} // namespace mainlayout

// Controls and client size: the formulas' grid while it fits the room, else
// the first arrangement that does. The button's left assumes the client width
// was taken as asked; ButtonLeftFor recomputes it from the width read back.
MainLayoutResult ComputeMainLayout(const MainLayoutInput& in);
int ButtonLeftFor(int clientWidth, int buttonWidth);

// Where the window goes in the work area: centred (not clamped) with its outer
// size, or the work area's top-left corner when maximised.
LayoutPoint MainWindowPosition(const LayoutRect& workArea, const LayoutSize& outer, bool maximised);

// The toolkit's one-time centring at the first showing: centred in the work
// area of the window's monitor, then pushed right/down onto the desktop.
LayoutPoint ScreenCentrePosition(const LayoutRect& workArea, const LayoutSize& outer, const LayoutRect& desktop);
