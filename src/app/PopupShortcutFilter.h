#pragma once
// Gives a control the popup-menu rule of the program's toolkit: a key-down is
// first matched against the shortcuts of the control's popup menu, hidden
// items included; a match runs the item and the key goes no further.
#include <QObject>

class QMenu;

class PopupShortcutFilter : public QObject {
    Q_OBJECT
public:
    PopupShortcutFilter(QMenu* menu, QObject* parent);

    // Routes the control's key-downs through the menu first.
    void watch(QObject* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMenu* m_menu;
};
