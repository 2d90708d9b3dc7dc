#pragma once
// How the display font and text-background colour reach a window's controls.
// Each window passes its components in the order of its definition.
#include "ui/ColorValue.h"
#include "ui/TFont.h"

#include <QObject>
#include <vector>

class QPushButton;
class QWidget;

// Labels, status bars, single-line edit fields, list boxes and spin fields get
// the colour as background and the whole font (text colour included); push
// buttons get face, size and style only; everything else is left alone.
void ApplyDisplaySettings(const std::vector<QObject*>& components, const TFont& font, ColorValue background);

void ApplyWholeFont(QWidget& control, const TFont& font, ColorValue background);

// A control of our own that takes the whole font as a single-line edit field
// does (the spin field) says so once, when it is made: this layer lies below
// the controls and knows only the toolkit's kinds by their types.
void TakeWholeFont(QWidget& control);
void ApplyFaceSizeStyle(QPushButton& button, const TFont& font);
