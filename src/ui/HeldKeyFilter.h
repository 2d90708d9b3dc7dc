#pragma once
// A window that has just appeared answers only keys pressed while it is up.
// A key that was already held down when it appeared (the user still on the
// Return that opened it, or a key the X server holds down because the program
// that pressed it died before releasing it) goes on repeating; without this a
// repeat presses the window's default button before anyone has read it.
// Repeats of such a key are dropped until the key is released and pressed
// anew; a key first pressed while the window is up repeats as usual.
//
// A repeat is a release and a press at the same instant. Qt marks both as
// repeated when it finds them together; when the press has not been read yet
// as it looks at the release, both pass for real ones, so a press at the very
// instant of a release this window did not expect counts as a repeat too.
#include <QObject>

#include <map>
#include <set>

class QWidget;

class HeldKeyFilter : public QObject {
public:
    // Watches the key events of `window` and its controls for as long as the
    // filter lives (it is a child of the window).
    explicit HeldKeyFilter(QWidget& window);
    ~HeldKeyFilter() override;

    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    QWidget& m_window;
    std::set<int> m_pressedHere;                  // keys whose press the window saw itself
    std::map<int, unsigned long> m_strayReleases; // key -> time of its last release not pressed here
};
