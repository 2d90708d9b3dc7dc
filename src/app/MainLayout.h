#pragma once
// The main window's layout as plain arithmetic: measured sizes in, rectangles
// out. TForm1 measures its controls, calls these and applies the result.
#include "ui/LayoutGeometry.h"

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
};

struct MainLayoutResult {
    LayoutRect label[4];
    LayoutRect edit[2];
    LayoutRect spin[2];
    LayoutRect button;
    int clientWidth = 0;
    int clientHeight = 0;
    int statusHeight = 0;
};

namespace mainlayout {
constexpr int Margin = 10;  // outer margin, gap between columns and rows
constexpr int LabelGap = 5; // between a label and its field
constexpr int FieldWidth = 100;
constexpr int ButtonWidth = 187;
constexpr int BelowButton = 10;
} // namespace mainlayout

// Controls and client size. The button's left assumes the client width was
// taken as asked; ButtonLeftFor recomputes it from the width read back.
MainLayoutResult ComputeMainLayout(const MainLayoutInput& in);
int ButtonLeftFor(int clientWidth, int buttonWidth);

// Where the window goes in the work area: centred (not clamped) with its outer
// size, or the work area's top-left corner when maximised.
LayoutPoint MainWindowPosition(const LayoutRect& workArea, const LayoutSize& outer, bool maximised);

// The toolkit's one-time centring at the first showing: centred in the work
// area of the window's monitor, then pushed right/down onto the desktop.
LayoutPoint ScreenCentrePosition(const LayoutRect& workArea, const LayoutSize& outer, const LayoutRect& desktop);
