#pragma once
// Positions over AT-SPI in the screen's device pixels.
//
// Qt's AT-SPI bridge answers every question about positions and sizes with the
// rectangles of its accessibility interfaces, which are in device-independent
// pixels: at a scale of 2 (QT_SCALE_FACTOR=2, or Xft.dpi 192) half of where the
// windows are drawn, so a magnifier that follows the focus or the caret looks
// at an empty corner. On X11 the program takes these questions over on the
// accessibility bus and answers them in device pixels: the extents, position
// and size of every object (window, control, the focused one), the extents of
// characters and ranges of text (the caret), and the questions that give a
// point (contains, object at point, offset at point). Every other question
// goes on to Qt's bridge unchanged.
#include <QPoint>
#include <QRect>

class QScreen;

// Takes the questions over as soon as (and whenever) Qt's bridge comes up.
void InstallAtSpiDevicePixels();

// Qt's own rule for the step from device-independent to device pixels on a
// screen: distances scale by the screen's factor from its top-left corner,
// which has the same coordinates in both.
QRect ToDevicePixels(const QRect& logical, const QScreen* screen);
// The reverse, for a point given in device pixels of whichever screen holds it.
QPoint FromDevicePixels(const QPoint& device);
