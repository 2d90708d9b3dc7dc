#pragma once
// Tells a window when the room or the scale it was laid out for changes: it
// moved to another screen (of another scale or size), its screen's scale
// changed (logical dots per inch, device pixel ratio), or its screen's work
// area did (a panel came or went). Qt reports these on Linux and Windows alike.
#include <QObject>
#include <QPointer>

#include <functional>

class QScreen;
class QWidget;

class ScreenWatch : public QObject {
public:
    // `changed` runs once per change, from the event loop, while the window is shown.
    ScreenWatch(QWidget& window, std::function<void()> changed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(QScreen* screen);
    void schedule();

    QWidget& m_window;
    std::function<void()> m_changed;
    QPointer<QScreen> m_screen;
    bool m_scheduled = false;
};
