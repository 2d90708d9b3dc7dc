#include "app/FocusFrameStyle.h"

#include "ui/TextContrast.h"
#include "ui/TextMeasure.h"

#include <QAbstractItemView>
#include <QApplication>
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

// The metrics of the control's font, which its parts are sized by.
QFontMetrics metricsOf(const QStyleOption* option, const QWidget* widget)
{
    if (widget)
        return widget->fontMetrics();
    if (option)
        return option->fontMetrics;
    return QFontMetrics(QApplication::font());
}

// The margin a check box or radio button keeps round its indicator and text:
// the focus ring and a gap of half its width.
int buttonMargin(const QFontMetrics& metrics)
{
    const int ring = FocusFrameStyle::FocusRingWidth(metrics);
    return ring + std::max(1, ring / 2);
}

bool isCheckOrRadio(QStyle::ContentsType type) { return type == QStyle::CT_CheckBox || type == QStyle::CT_RadioButton; }

// A downward triangle, half as wide as `area`, in its middle.
void drawDownArrow(QPainter* painter, const QRect& area, const QColor& colour)
{
    const qreal width = area.width() / 2.0;
    const QPointF centre = QRectF(area).center();
    const QPointF corners[3] = {{centre.x() - width / 2, centre.y() - width / 4},
                                {centre.x() + width / 2, centre.y() - width / 4},
                                {centre.x(), centre.y() + width / 4}};
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(Qt::NoPen);
    painter->setBrush(colour);
    painter->drawPolygon(corners, 3);
    painter->restore();
}

} // namespace

FocusFrameStyle::FocusFrameStyle(QStyle* base) : QProxyStyle(base) {}

int FocusFrameStyle::FocusRingWidth(const QFontMetrics& metrics) { return FocusLineWidth(metrics); }

int FocusFrameStyle::ScaledPart(int own, const QFontMetrics& metrics)
{
    return std::max(own, metrics.height() * 2 / 3);
}

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
    if (element == CE_CheckBox || element == CE_RadioButton) {
        if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
            // Indicator and text inside the margin, the ring in it.
            const bool radio = element == CE_RadioButton;
            QStyleOptionButton part = *button;
            part.rect = proxy()->subElementRect(radio ? SE_RadioButtonIndicator : SE_CheckBoxIndicator, button, widget);
            proxy()->drawPrimitive(radio ? PE_IndicatorRadioButton : PE_IndicatorCheckBox, &part, painter, widget);
            part.rect = proxy()->subElementRect(radio ? SE_RadioButtonContents : SE_CheckBoxContents, button, widget);
            proxy()->drawControl(radio ? CE_RadioButtonLabel : CE_CheckBoxLabel, &part, painter, widget);
            if (button->state & State_HasFocus)
                fillBand(painter, button->rect, FocusRingWidth(metricsOf(option, widget)),
                         StrongestOn(button->palette.color(groupOf(option), QPalette::Window)));
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

void FocusFrameStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                         const QWidget* widget) const
{
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    const auto* box = qstyleoption_cast<const QStyleOptionComboBox*>(option);
    if (control != CC_ComboBox || !box)
        return;
    const QRect arrow = subControlRect(control, option, SC_ComboBoxArrow, widget);
    if ((box->subControls & SC_ComboBoxArrow)
        && arrow.width() > QProxyStyle::subControlRect(control, option, SC_ComboBoxArrow, widget).width()) {
        // The style's own arrow keeps its size in the wider strip: drawn over, as large as the strip.
        drawDownArrow(painter, arrow, box->palette.color(groupOf(option), QPalette::ButtonText));
    }
    if (box->state & State_HasFocus)
        fillBand(painter, box->rect.adjusted(1, 1, -1, -1), FocusRingWidth(metricsOf(option, widget)),
                 StrongestOn(box->palette.color(groupOf(option), QPalette::Button)));
}

QRect FocusFrameStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                                      const QWidget* widget) const
{
    const QRect own = QProxyStyle::subControlRect(control, option, sub, widget);
    if (control != CC_ComboBox || (sub != SC_ComboBoxArrow && sub != SC_ComboBoxEditField)
        || option->direction == Qt::RightToLeft)
        return own;
    // Inside the ring just within the outline: the arrow's strip at the right,
    // as wide as the font asks for, and the text left of it.
    const QFontMetrics fm = metricsOf(option, widget);
    const int ring = FocusRingWidth(fm);
    const QRect ownArrow
        = sub == SC_ComboBoxArrow ? own : QProxyStyle::subControlRect(control, option, SC_ComboBoxArrow, widget);
    const QRect inside = option->rect.adjusted(1 + ring, 1 + ring, -1 - ring, -1 - ring);
    const int width = ScaledPart(ownArrow.width(), fm);
    QRect arrow(std::min(ownArrow.right(), inside.right()) - width + 1, inside.top(), width, inside.height());
    if (sub == SC_ComboBoxArrow)
        return arrow;
    QRect field = own.intersected(inside);
    field.setRight(std::min(field.right(), arrow.left() - 1));
    return field;
}

QSize FocusFrameStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                                        const QWidget* widget) const
{
    QSize size = QProxyStyle::sizeFromContents(type, option, contents, widget);
    const QFontMetrics fm = metricsOf(option, widget);
    if (isCheckOrRadio(type)) {
        const int margin = buttonMargin(fm);
        return size + QSize(2 * margin, 2 * margin);
    }
    if (type == CT_ComboBox) {
        if (const auto* box = qstyleoption_cast<const QStyleOptionComboBox*>(option)) {
            // Room for the ring all round and for the wider arrow.
            QStyleOptionComboBox sized = *box;
            sized.rect = QRect(QPoint(0, 0), size);
            const int ownArrow = QProxyStyle::subControlRect(CC_ComboBox, &sized, SC_ComboBoxArrow, widget).width();
            const int ring = FocusRingWidth(fm);
            return size + QSize(2 * ring + ScaledPart(ownArrow, fm) - ownArrow, 2 * ring);
        }
    }
    return size;
}

QRect FocusFrameStyle::subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const
{
    switch (element) {
    case SE_CheckBoxIndicator:
    case SE_RadioButtonIndicator:
    case SE_CheckBoxContents:
    case SE_RadioButtonContents: {
        // Inside the margin kept for the ring: the indicator at the start,
        // centred down the control, the text after it.
        const bool radio = element == SE_RadioButtonIndicator || element == SE_RadioButtonContents;
        const int margin = buttonMargin(metricsOf(option, widget));
        const QRect inside = option->rect.adjusted(margin, margin, -margin, -margin);
        const int w = proxy()->pixelMetric(radio ? PM_ExclusiveIndicatorWidth : PM_IndicatorWidth, option, widget);
        const int h = proxy()->pixelMetric(radio ? PM_ExclusiveIndicatorHeight : PM_IndicatorHeight, option, widget);
        const QRect indicator(inside.x(), inside.y() + (inside.height() - h) / 2, w, h);
        if (element == SE_CheckBoxIndicator || element == SE_RadioButtonIndicator)
            return visualRect(option->direction, option->rect, indicator);
        const int spacing
            = proxy()->pixelMetric(radio ? PM_RadioButtonLabelSpacing : PM_CheckBoxLabelSpacing, option, widget);
        const QRect text(indicator.right() + 1 + spacing, inside.y(),
                         std::max(0, inside.right() - indicator.right() - spacing), inside.height());
        return visualRect(option->direction, option->rect, text);
    }
    case SE_CheckBoxFocusRect:
    case SE_RadioButtonFocusRect:
    case SE_CheckBoxClickRect:
    case SE_RadioButtonClickRect: return option->rect; // the ring round it all, and a click anywhere in it
    default: break;
    }
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
    switch (metric) {
    case PM_DefaultFrameWidth: return isFramedList(widget) ? value + FocusRingWidth(widget->fontMetrics()) : value;
    case PM_ScrollBarExtent: return ScaledPart(value, metricsOf(option, widget));
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
        // As large as the capital letters of the text beside it.
        return std::max(value, metricsOf(option, widget).capHeight());
    case PM_CheckBoxLabelSpacing: return std::max(value, pixelMetric(PM_IndicatorWidth, option, widget) / 3);
    case PM_RadioButtonLabelSpacing:
        return std::max(value, pixelMetric(PM_ExclusiveIndicatorWidth, option, widget) / 3);
    default: return value;
    }
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
