#pragma once
// Placement of the two dialogs (start values, text background), shared by
// both: their own rule on the full screen, and the first showing's rule; and
// the outer size every window placement works with.
#include "ui/LayoutGeometry.h"

#include <QRect>

#include <functional>
#include <optional>

class QWidget;

// The window's outer rectangle, frame and title bar included. Until Qt has
// heard of the frame the window manager puts (or is going to put) around the
// window, it knows only the client rectangle; the frame is then asked of the
// window manager (in device pixels, converted to Qt's scaled coordinates).
QRect OuterGeometry(const QWidget& window);
inline QSize OuterSize(const QWidget& window) { return OuterGeometry(window).size(); }

// What lies around the window's client widget area (frame and title bar):
// the outer size less the window's own size, with the frame's device pixels
// rounded up into Qt's scaled coordinates (the room the window takes at most).
QSize AroundWindow(const QWidget& window);

// Moves the window to where `rule` puts its outer rectangle (given the outer
// rectangle as it stands), then, with `keepIn`, moves it the least that keeps
// the whole outer rectangle inside that rectangle (a work area). Until Qt
// knows the frame it takes a position as the client's, so the frame is asked
// for once and used for both. Where the window manager was too slow to
// answer and the frame of another of our windows stood in, the window is
// placed again once it is shown if its own frame turns out to differ.
void PlaceOuter(QWidget& window, const std::function<LayoutPoint(const QRect& outer)>& rule,
                const std::optional<QRect>& keepIn = std::nullopt);

// The top-left corner of the outer rectangle PlaceOuter last asked for the
// window, if it placed it at all. A window the window manager has not moved
// there yet (a resize ahead of the move, reported first) stands elsewhere.
std::optional<QPoint> LastPlacement(const QWidget& window);

// Keeps an open dialog laid out for its screen: moved to a screen of another
// scale or size (or its work area changed), `layOut` lays it out again and
// the dialog stays where it is, moved only as far as that screen's work area
// asks.
void RelayOutOnScreenChange(QWidget& window, std::function<void()> layOut);

// For a window of one fixed size (minimum and maximum alike): that size is
// also its base size, so a window manager that rounds window sizes to the
// resize step has nothing to round. Under display scaling Qt sets that step
// to the scale in device pixels (2 at 1.5), and openbox cuts a window of an
// odd height by a pixel and, asked for its frame, moves it to the screen's
// corner. A window of any size gets no base size.
void HoldExactSize(QWidget& window);

LayoutRect ToLayoutRect(const QRect& r);

// One pixel above and left of the centre of the full screen, never above or
// left of the screen's edge (outer size, frame included).
LayoutPoint DialogScreenPosition(const LayoutSize& screen, const LayoutSize& outer);

// The first showing's rule: centred over the owner (outer sizes), then raised
// to the left/top edge of the owner monitor's work area.
LayoutPoint CentreOverOwner(const LayoutRect& owner, const LayoutSize& outer, const LayoutRect& workArea);

// Moves the dialog by that rule over the owner window as it stands now (an
// owner the window manager is still mapping: where it was placed), kept
// inside the work area of the owner's monitor.
void MoveCentredOverOwner(QWidget& dialog, const QWidget& owner);
