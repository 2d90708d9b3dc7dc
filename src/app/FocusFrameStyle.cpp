#include "app/FocusFrameStyle.h"

#include <QPainter>
#include <QPen>
#include <QStyleOption>

FocusFrameStyle::FocusFrameStyle(QStyle* base) : QProxyStyle(base) {}

void FocusFrameStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element != CE_PushButton || !(option->state & State_HasFocus))
        return;
    // Dashed in the button's text colour: it contrasts with the button face
    // whatever the colour scheme, and 2 pixels stay visible when magnified.
    const QRect r = subElementRect(SE_PushButtonFocusRect, option, widget).adjusted(1, 1, -1, -1);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    QPen pen(option->palette.color(QPalette::ButtonText), 2, Qt::DashLine);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(r.adjusted(0, 0, -1, -1));
    painter->restore();
}
