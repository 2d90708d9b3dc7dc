#pragma once
// A window's client that scrolls only where the work area cannot hold the
// window's controls (the layout turns its scroll bars on then). The control
// that takes the keyboard focus (Tab, its label's letter, the program) is
// brought into view as a whole, a field with its frame and arrows rather
// than its text cursor alone.
class QScrollArea;
class QWidget;

// Makes `content` the scrolled widget of a new scroll area in `window`, with
// no frame, no keyboard focus of its own and no scroll bars; a control taking
// the focus is shown with `margin` around it where the view has the room.
QScrollArea* NewClientScroller(QWidget& window, QWidget* content, int margin);
