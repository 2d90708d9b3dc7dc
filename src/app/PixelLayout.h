#pragma once
// The start-values dialog's layout as plain arithmetic: measured sizes in,
// rectangles out. TPixelForm measures its controls, calls these and applies them.
#include "ui/LayoutGeometry.h"
#include "ui/WindowFit.h"

struct PixelLayoutInput {
    LayoutSize label[2];    // Label1, Label2: caption width, line height
    int spinHeight[2] = {}; // SpinEdit1, SpinEdit2
    int buttonHeight = 0;   // HoeheFuerSchrift for a push button
    // Widths the texts need (0 = not measured); the fields and the buttons grow
    // beyond their fixed widths only where those would cut a text.
    int fieldRoom = 0;  // the widest text either field can hold
    int buttonRoom = 0; // the wider of the two captions
    // The room the work area leaves for the client (0 x 0: no limit). Beyond
    // it the dialog fits: its two fields stack, then its two buttons, then it
    // scrolls.
    LayoutSize room;
    int scrollBarExtent = 0;
};

// The formulas' one row, the two fields one above the other (the buttons
// side by side below them), the buttons one above the other too, or stacked
// in a scrolling client.
enum class PixelArrangement { Row, Stacked, StackedButtons, Scrolled };

struct PixelLayoutResult {
    LayoutRect label[2];
    LayoutRect spin[2];
    LayoutRect button[2];
    // The controls' area (the whole client unless it scrolls).
    int clientWidth = 0;
    int clientHeight = 0;
    PixelArrangement arrangement = PixelArrangement::Row;
    bool buttonsStacked = false; // "O&K" above "&Abbrechen", each centred
    // The client as the dialog shows it, with any scroll bars.
    ScrollFit view;
};

namespace pixellayout {
constexpr int Margin = 10;
constexpr int LabelGap = 5;
constexpr int FieldWidth = 100;
constexpr int ButtonWidth = 125;
} // namespace pixellayout

// Controls and client size: the formulas' row while it fits the room, else
// the first arrangement that does. The buttons' lefts assume the client width
// was taken as asked, ButtonLeftsFor recomputes them from the width read back:
// side by side with equal gaps left of, between and right of them, or, stacked,
// each with equal gaps left and right of it.
PixelLayoutResult ComputePixelLayout(const PixelLayoutInput& in);
void ButtonLeftsFor(int clientWidth, PixelLayoutResult& r);
