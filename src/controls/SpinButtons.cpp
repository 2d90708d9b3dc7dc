#include "controls/SpinButtons.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

SpinButtons::SpinButtons(QWidget* parent) : QWidget(parent)
{
    // The buttons never take the focus themselves; the field does.
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    m_repeat.setSingleShot(false);
    connect(&m_repeat, &QTimer::timeout, this, [this] { repeatTick(); });
}

int SpinButtons::StripWidthFor(const QFont& font) { return std::max(StripWidth, QFontMetrics(font).height() * 2 / 3); }

SpinButtons::Arrow SpinButtons::arrowAt(const QPoint& pos) const
{
    if (!rect().contains(pos))
        return Arrow::None;
    return pos.y() < height() / 2 ? Arrow::Up : Arrow::Down;
}

QRect SpinButtons::arrowRect(Arrow arrow) const
{
    const int half = height() / 2;
    return arrow == Arrow::Up ? QRect(0, 0, width(), half) : QRect(0, half, width(), height() - half);
}

void SpinButtons::step(Arrow arrow)
{
    if (OnStep && arrow != Arrow::None)
        OnStep(arrow == Arrow::Up);
}

void SpinButtons::repeatTick()
{
    if (m_held == Arrow::None) {
        m_repeat.stop();
        return;
    }
    // The first tick comes after the delay; from then on the shorter interval.
    if (m_repeat.interval() != RepeatIntervalMs)
        m_repeat.start(RepeatIntervalMs);
    if (m_pointerOver)
        step(m_held);
}

void SpinButtons::stopHolding()
{
    m_repeat.stop();
    m_held = Arrow::None;
    m_pointerOver = false;
    update();
}

void SpinButtons::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        e->accept();
        return;
    }
    if (OnPressStarted)
        OnPressStarted();
    m_held = arrowAt(e->position().toPoint());
    m_pointerOver = m_held != Arrow::None;
    if (m_held != Arrow::None)
        m_repeat.start(RepeatDelayMs);
    update();
    e->accept();
}

void SpinButtons::mouseMoveEvent(QMouseEvent* e)
{
    if (m_held == Arrow::None)
        return;
    const bool over = arrowRect(m_held).contains(e->position().toPoint());
    if (over != m_pointerOver) {
        m_pointerOver = over;
        update();
    }
}

void SpinButtons::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || m_held == Arrow::None)
        return;
    const Arrow held = m_held;
    const bool over = arrowRect(held).contains(e->position().toPoint());
    stopHolding();
    if (over)
        step(held);
}

void SpinButtons::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    for (const Arrow arrow : {Arrow::Up, Arrow::Down}) {
        const bool pressed = showsPressed() && m_held == arrow;
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = arrowRect(arrow);
        button.state |= pressed ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &p, this);

        QRect glyphRect = arrowRect(arrow).adjusted(2, 1, -2, -1);
        if (pressed)
            glyphRect.translate(1, 1);
        if (width() <= StripWidth) {
            QStyleOption glyph;
            glyph.initFrom(this);
            glyph.rect = glyphRect;
            style()->drawPrimitive(arrow == Arrow::Up ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                                   &glyph, &p, this);
        } else {
            drawLargeArrow(p, glyphRect, arrow);
        }
    }
}

void SpinButtons::drawLargeArrow(QPainter& p, const QRect& room, Arrow arrow) const
{
    // The style's arrows keep their small size in any rectangle: draw one that
    // grows with the button, half its width, in the button's text colour.
    const qreal w = std::min(room.width() * 0.5, room.height() * 1.2);
    const qreal h = w / 2;
    const QPointF c = QRectF(room).center();
    const qreal tip = arrow == Arrow::Up ? -h / 2 : h / 2;
    const QPointF points[] = {{c.x() - w / 2, c.y() - tip}, {c.x() + w / 2, c.y() - tip}, {c.x(), c.y() + tip}};
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawPolygon(points, 3);
    p.restore();
}
