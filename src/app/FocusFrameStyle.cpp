#include "app/FocusFrameStyle.h"

#include "ui/TextContrast.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QStyleOption>

#include <algorithm>

namespace {

// A list that keeps the focus while it is shown: not the drop-down of a combo box.
bool isFramedList(const QWidget* widget)
{
    const auto* view = qobject_cast<const QAbstractItemView*>(widget);
    return view && view->frameShape() != QFrame::NoFrame && view->window()->windowType() != Qt::Popup;
}

bool isFramedEdit(const QStyleOption* option)
{
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    return frame && frame->lineWidth > 0;
}

// A band `width` pixels wide along the inside of `outer`.
void fillBand(QPainter* painter, const QRect& outer, int width, const QColor& colour)
{
    if (outer.width() <= 0 || outer.height() <= 0)
        return;
    const int w = std::min({width, outer.width() / 2, outer.height() / 2});
    painter->fillRect(QRect(outer.left(), outer.top(), outer.width(), w), colour);
    painter->fillRect(QRect(outer.left(), outer.bottom() - w + 1, outer.width(), w), colour);
    painter->fillRect(QRect(outer.left(), outer.top() + w, w, outer.height() - 2 * w), colour);
    painter->fillRect(QRect(outer.right() - w + 1, outer.top() + w, w, outer.height() - 2 * w), colour);
}

QPalette::ColorGroup groupOf(const QStyleOption* option)
{
    if (!(option->state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return option->state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
}

} // namespace

FocusFrameStyle::FocusFrameStyle(QStyle* base) : QProxyStyle(base) {}

int FocusFrameStyle::FocusRingWidth(const QFontMetrics& metrics) { return std::max(2, (metrics.height() + 6) / 12); }

void FocusFrameStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const
{
    if (element == CE_ItemViewItem && (option->state & State_Selected)) {
        // The selection bar itself, then the entry as unselected text in the
        // highlighted text colour: the base style would paint its own tint.
        if (const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option)) {
            QStyleOptionViewItem plain = *item;
            const QPalette::ColorGroup group = groupOf(option);
            painter->fillRect(item->rect, item->palette.brush(group, QPalette::Highlight));
            plain.state &= ~(State_Selected | State_MouseOver);
            plain.backgroundBrush = Qt::NoBrush;
            for (const auto g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
                plain.palette.setColor(g, QPalette::Text, item->palette.color(group, QPalette::HighlightedText));
            QProxyStyle::drawControl(element, &plain, painter, widget);
            return;
        }
    }
    if (element == CE_ShapedFrame && isFramedList(widget)) {
        // The band between the style's own frame and the entries: the list's
        // background, or the ring while the list has the focus.
        const int own = baseStyle()->pixelMetric(PM_DefaultFrameWidth, option, widget);
        const QColor background = option->palette.color(groupOf(option), QPalette::Base);
        const bool focused = widget->hasFocus();
        fillBand(painter, option->rect.adjusted(own, own, -own, -own), FocusRingWidth(widget->fontMetrics()),
                 focused ? StrongestOn(background) : background);
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }

    QProxyStyle::drawControl(element, option, painter, widget);
    if (element != CE_PushButton || !(option->state & State_HasFocus))
        return;
    // Dashed in the button's text colour: it contrasts with the button face
    // whatever the colour scheme.
    const int width = FocusRingWidth(option->fontMetrics);
    const QRect r = subElementRect(SE_PushButtonFocusRect, option, widget).adjusted(1, 1, -1, -1);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    QPen pen(option->palette.color(QPalette::ButtonText), width, Qt::DashLine);
    pen.setJoinStyle(Qt::MiterJoin);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    // The pen is centred on the path: the whole line lies inside r.
    const qreal half = width / 2.0;
    painter->drawRect(QRectF(r).adjusted(half, half, -half, -half));
    painter->restore();
}

void FocusFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                    const QWidget* widget) const
{
    if (element == PE_PanelItemViewItem && (option->state & State_Selected)) {
        painter->fillRect(option->rect, option->palette.brush(groupOf(option), QPalette::Highlight));
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    if (element == PE_PanelLineEdit && (option->state & State_HasFocus) && isFramedEdit(option)) {
        const int own = static_cast<const QStyleOptionFrame*>(option)->lineWidth;
        const QColor background = option->palette.color(groupOf(option), QPalette::Base);
        fillBand(painter, option->rect.adjusted(own, own, -own, -own), FocusRingWidth(option->fontMetrics),
                 StrongestOn(background));
    }
}

QRect FocusFrameStyle::subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const
{
    QRect r = QProxyStyle::subElementRect(element, option, widget);
    if (element == SE_LineEditContents && isFramedEdit(option)) {
        // The text stays clear of the ring, with or without the focus.
        const int ring = FocusRingWidth(option->fontMetrics);
        r.adjust(ring, ring, -ring, -ring);
    }
    return r;
}

int FocusFrameStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    const int value = QProxyStyle::pixelMetric(metric, option, widget);
    if (metric == PM_DefaultFrameWidth && isFramedList(widget))
        return value + FocusRingWidth(widget->fontMetrics());
    return value;
}

void FocusFrameStyle::polish(QWidget* widget)
{
    QProxyStyle::polish(widget);
    if (qobject_cast<QAbstractItemView*>(widget))
        widget->installEventFilter(this);
}

void FocusFrameStyle::unpolish(QWidget* widget)
{
    if (qobject_cast<QAbstractItemView*>(widget))
        widget->removeEventFilter(this);
    QProxyStyle::unpolish(widget);
}

bool FocusFrameStyle::eventFilter(QObject* watched, QEvent* event)
{
    // A list's band follows its font: the frame is measured anew (setting the
    // same frame style does that) and the list lays its entries out inside it.
    if (event->type() == QEvent::FontChange)
        if (auto* view = qobject_cast<QAbstractItemView*>(watched))
            view->setFrameStyle(view->frameStyle());
    return QProxyStyle::eventFilter(watched, event);
}
