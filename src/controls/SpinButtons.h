#pragma once
// The strip of two arrow buttons (up above down) at the right end of a spin
// field. A left press first asks for the focus, the pressed button shows
// pressed while the pointer is over it, a release over it steps once, and
// holding it repeats the step after RepeatDelayMs, then every RepeatIntervalMs.
//
// Timing is testable without sleeping: the intervals are public constants and
// repeatTick() is the timer's slot, so a test runs exactly the ticks it wants.
#include <QTimer>
#include <QWidget>

class QPainter;

#include <functional>

class SpinButtons : public QWidget {
    Q_OBJECT
public:
    enum class Arrow { None, Up, Down };

    // The strip is 15 pixels wide, as the field has always had it; beside a
    // large font that is a target too small to hit and an arrow too small to
    // see, so from a line height of 23 on it is two thirds of a line wide.
    static constexpr int StripWidth = 15;
    static int StripWidthFor(const QFont& font);
    static constexpr int RepeatDelayMs = 400;
    static constexpr int RepeatIntervalMs = 100;

    explicit SpinButtons(QWidget* parent = nullptr);

    // Called for each step (true = up); set by the field.
    std::function<void(bool up)> OnStep;
    // Called on a left press before anything else, so the field can take the focus.
    std::function<void()> OnPressStarted;

    // The arrow under a point of this widget (upper half = up, lower half = down).
    Arrow arrowAt(const QPoint& pos) const;
    Arrow heldArrow() const { return m_held; }
    bool showsPressed() const { return m_held != Arrow::None && m_pointerOver; }
    bool isRepeating() const { return m_repeat.isActive(); }
    int repeatInterval() const { return m_repeat.interval(); }

    // One tick of the held-button repetition (the timer's slot).
    void repeatTick();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void step(Arrow arrow);
    void stopHolding();
    QRect arrowRect(Arrow arrow) const;
    void drawLargeArrow(QPainter& p, const QRect& room, Arrow arrow) const;

    QTimer m_repeat;
    Arrow m_held = Arrow::None;
    bool m_pointerOver = false;
};
