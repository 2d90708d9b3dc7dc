#pragma once
// Placement of the two dialogs (start values, text background), shared by
// both: their own rule on the full screen, and the first showing's rule.
#include "app/LayoutGeometry.h"

class QWidget;

// One pixel above and left of the centre of the full screen, never above or
// left of the screen's edge (outer size, frame included).
LayoutPoint DialogScreenPosition(const LayoutSize& screen, const LayoutSize& outer);

// The first showing's rule: centred over the owner (outer sizes), then raised
// to the left/top edge of the owner monitor's work area.
LayoutPoint CentreOverOwner(const LayoutRect& owner, const LayoutSize& outer, const LayoutRect& workArea);

// Moves the dialog by that rule over the owner window as it stands now.
void MoveCentredOverOwner(QWidget& dialog, const QWidget& owner);
