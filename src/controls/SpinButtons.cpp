#include "controls/SpinButtons.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

SpinButtons::SpinButtons(QWidget* parent) : QWidget(parent)
{
    // The buttons never take the focus themselves; the field does.
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    m_repeat.setSingleShot(false);
    connect(&m_repeat, &QTimer::timeout, this, [this] { repeatTick(); });
}

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

        QStyleOption glyph;
        glyph.initFrom(this);
        glyph.rect = arrowRect(arrow).adjusted(2, 1, -2, -1);
        if (pressed)
            glyph.rect.translate(1, 1);
        style()->drawPrimitive(arrow == Arrow::Up ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &glyph,
                               &p, this);
    }
}
