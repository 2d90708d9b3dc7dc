#pragma once
// How the display font and the text-background colour reach one control.
#include "appearance/ColorValue.h"
#include "appearance/TFont.h"

class QWidget;

// Labels, fields, lists, status bars: the background colour, then the whole
// font (face, size, style and the text colour).
void SchriftUndHintergrundZuweisen(QWidget& control, const TFont& font, ColorValue hintergrund);

// Push buttons: only the face, the size and the style; the text colour and
// the background stay as they were.
void SchriftNameGroesseStilZuweisen(QWidget& button, const TFont& font);
