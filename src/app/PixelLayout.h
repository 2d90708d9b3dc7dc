#pragma once
// The start-values dialog's layout as plain arithmetic: measured sizes in,
// rectangles out. TPixelForm measures its controls, calls these and applies them.
#include "ui/LayoutGeometry.h"

struct PixelLayoutInput {
    LayoutSize label[2];    // Label1, Label2: caption width, line height
    int spinHeight[2] = {}; // SpinEdit1, SpinEdit2
    int buttonHeight = 0;   // HoeheFuerSchrift for a push button
    // Widths the texts need (0 = not measured); the fields and the buttons grow
    // beyond their fixed widths only where those would cut a text.
    int fieldRoom = 0;  // the widest text either field can hold
    int buttonRoom = 0; // the wider of the two captions
};

struct PixelLayoutResult {
    LayoutRect label[2];
    LayoutRect spin[2];
    LayoutRect button[2];
    int clientWidth = 0;
    int clientHeight = 0;
};

namespace pixellayout {
constexpr int Margin = 10;
constexpr int LabelGap = 5;
constexpr int FieldWidth = 100;
constexpr int ButtonWidth = 125;
} // namespace pixellayout

// Controls and client size; the buttons' lefts assume the client width was
// taken as asked, ButtonLeftsFor recomputes them from the width read back.
PixelLayoutResult ComputePixelLayout(const PixelLayoutInput& in);
void ButtonLeftsFor(int clientWidth, PixelLayoutResult& r);
