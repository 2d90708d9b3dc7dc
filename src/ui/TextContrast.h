#pragma once
// How readable a colour is on another: the WCAG 2 contrast ratio, and the rule
// by which a text colour value becomes the colour that is drawn.
//
// A system text colour (such as the window-text colour FF000008) is the
// desktop's choice for the desktop's own background; the program draws it on
// a background the user picked, where it may vanish (white text of a dark or
// high-contrast scheme on "Weiß", black text on "Schwarz"). So a system text
// colour is resolved against the background it is drawn on, and where it
// falls below kReadableTextContrast it becomes black or white, whichever
// contrasts more. A colour the user chose is drawn as chosen. The stored
// value is never changed by this; only the drawing is.
#include "ui/ColorValue.h"

#include <QColor>
#include <QPalette>

// Relative luminance with sRGB linearisation: 0 for black, 1 for white.
double RelativeLuminance(const QColor& c);

// (L1 + 0.05) / (L2 + 0.05), L1 the lighter of the two: 1 (equal) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// Text needs this much contrast with its background to count as readable.
inline constexpr double kReadableTextContrast = 4.5;

// Black or white, whichever contrasts more with `background` (at least 4.58:1 on any colour).
QColor StrongestOn(const QColor& background);

// The colour that `text` is drawn in on `background`: a chosen colour as it
// is; a system colour as `palette` gives it, or StrongestOn(background) when
// that is below kReadableTextContrast.
QColor TextColorOn(ColorValue text, const QColor& background, const QPalette& palette);
// The same through the application's palette.
QColor TextColorOn(ColorValue text, const QColor& background);
