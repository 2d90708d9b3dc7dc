#include "ui/HeldKeyFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

HeldKeyFilter::HeldKeyFilter(QWidget& window) : QObject(&window), m_window(window)
{
    // Key events go to the focused control, not to the window: watch them all
    // and keep those of this window's controls.
    qApp->installEventFilter(this);
}

HeldKeyFilter::~HeldKeyFilter() { qApp->removeEventFilter(this); }

bool HeldKeyFilter::eventFilter(QObject* receiver, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    const auto* widget = qobject_cast<const QWidget*>(receiver);
    if (!widget || widget->window() != &m_window)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const int code = key->key();
    if (m_pressedHere.contains(code)) {
        if (type == QEvent::KeyRelease && !key->isAutoRepeat())
            m_pressedHere.erase(code);
        return false;
    }
    // A key this window has not seen pressed.
    if (type == QEvent::KeyRelease) {
        m_strayReleases[code] = key->timestamp();
    } else if (type == QEvent::KeyPress && !key->isAutoRepeat()) {
        const auto stray = m_strayReleases.find(code);
        if (stray == m_strayReleases.end() || stray->second != key->timestamp()) {
            m_pressedHere.insert(code); // pressed anew while the window is up
            m_strayReleases.erase(code);
            return false;
        }
    } else if (type == QEvent::ShortcutOverride && !key->isAutoRepeat()) {
        const auto stray = m_strayReleases.find(code);
        if (stray == m_strayReleases.end() || stray->second != key->timestamp())
            return false; // the press that follows decides
    }
    // Held since before the window appeared: neither a shortcut nor the
    // controls get it.
    key->accept();
    return true;
}
