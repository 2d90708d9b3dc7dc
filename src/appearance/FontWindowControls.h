#pragma once
// The font window's own kinds of control, for a user who moves through the
// window by keys, by wheel or with a screen reader: moving is never a choice,
// and the focus always shows.
#include <QComboBox>
#include <QListWidget>
#include <QScrollArea>

// A list of choices (faces, styles, sizes). The entry shown as chosen is its
// selection, which only the user changes (a click, the arrow keys); it stands
// on that entry only while it has the keyboard focus, so that a screen reader
// hears no list item as focused while another control holds the focus.
class ChoiceList : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;

    // Shows the row as the chosen entry (-1: none), without reporting a choice.
    void showChosen(int row);
    // The row shown as chosen, -1 for none.
    int chosenRow() const;
    // Scrolls the chosen entry to the middle of the view (once the view has its size).
    void scrollToChosen();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// A drop-down box that the mouse wheel changes only while it has the focus:
// a wheel turned to scroll the window past it goes on to the window.
class FocusWheelComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit FocusWheelComboBox(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
};

// A scroll area that is a Tab stop of its own, scrolled by the keys. Tab
// keeps the control it reaches in view by the window's own rule
// (KeepInView), not by centring it.
class TabScrollArea : public QScrollArea {
    Q_OBJECT
public:
    using QScrollArea::QScrollArea;

protected:
    bool focusNextPrevChild(bool next) override;
};

// Holds one control and shows its focus: a solid line all round it, in the
// window's text colour on the window's background, in a margin kept free
// for it, so that it covers nothing (not even the control's scroll bars).
class FocusRing : public QWidget {
    Q_OBJECT
public:
    explicit FocusRing(QWidget* control, QWidget* parent = nullptr);

    void setRingWidth(int pixels);
    int ringWidth() const { return m_ring; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* m_control;
    int m_ring = 2;
};

// Scrolls `area` so that `control` (inside it) is in view: whole where the view
// holds it, with a margin round it where there is room; a control larger than
// the view shows its start, the left and top edges, where its text begins.
void KeepInView(QScrollArea& area, const QWidget& control, int margin);
