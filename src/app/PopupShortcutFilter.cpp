#include "app/PopupShortcutFilter.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>

PopupShortcutFilter::PopupShortcutFilter(QMenu* menu, QObject* parent) : QObject(parent), m_menu(menu) {}

void PopupShortcutFilter::watch(QObject* control) { control->installEventFilter(this); }

bool PopupShortcutFilter::eventFilter(QObject* watched, QEvent* event)
{
    const bool override = event->type() == QEvent::ShortcutOverride;
    if (!override && event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);

    auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    for (QAction* item : m_menu->actions()) {
        if (item->shortcut().isEmpty() || item->shortcut() != pressed)
            continue;
        if (override) {
            // Claim the key, so no window shortcut takes it before the key-down arrives here.
            event->accept();
            return true;
        }
        // Qt treats a hidden item as disabled but still lets it trigger unless it
        // was disabled on purpose; only a real trigger consumes the key.
        bool fired = false;
        const auto probe = connect(item, &QAction::triggered, this, [&fired] { fired = true; });
        item->trigger();
        disconnect(probe);
        if (fired)
            return true;
    }
    return QObject::eventFilter(watched, event);
}
