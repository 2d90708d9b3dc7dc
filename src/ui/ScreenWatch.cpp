#include "ui/ScreenWatch.h"

#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>

ScreenWatch::ScreenWatch(QWidget& window, std::function<void()> changed)
    : QObject(&window), m_window(window), m_changed(std::move(changed))
{
    window.installEventFilter(this);
}

bool ScreenWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_window) {
        switch (event->type()) {
        case QEvent::Show: follow(m_window.screen()); break;
        case QEvent::ScreenChangeInternal:
            follow(m_window.screen());
            schedule();
            break;
        default: break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ScreenWatch::follow(QScreen* screen)
{
    if (screen == m_screen)
        return;
    if (m_screen)
        disconnect(m_screen, nullptr, this, nullptr);
    m_screen = screen;
    if (!screen)
        return;
    connect(screen, &QScreen::logicalDotsPerInchChanged, this, &ScreenWatch::schedule);
    connect(screen, &QScreen::availableGeometryChanged, this, &ScreenWatch::schedule);
    connect(screen, &QScreen::geometryChanged, this, &ScreenWatch::schedule);
}

void ScreenWatch::schedule()
{
    // Several notices of one change (screen, scale, geometry) make one new layout.
    if (m_scheduled)
        return;
    m_scheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_scheduled = false;
        if (m_window.isVisible())
            m_changed();
    });
}
