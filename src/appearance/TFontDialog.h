#pragma once
// The font command's dialog as a component: it owns the font object that the
// main window uses as its display font, and Execute edits that object in place.
#include "ui/TFont.h"

#include "ui/ColorValue.h"

class QWidget;

class TFontDialog {
public:
    TFont Font; // the display font itself, not a copy

    // Shows the font choice modally, starting from Font. On OK writes face,
    // size and style, the colour only when one was picked, the character set
    // only when script or face changed, and returns true. Cancel changes nothing.
    // The sample shows the font on `background`, the text-background colour in use.
    bool Execute(QWidget* parent, ColorValue background = ColorValue{0x00FFFFFF});
};
