#include "appearance/FontWindowControls.h"

#include <QFocusEvent>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

void ChoiceList::showChosen(int row)
{
    if (row < 0 || row >= count()) {
        clearSelection();
        return;
    }
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    if (hasFocus())
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
}

int ChoiceList::chosenRow() const
{
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ChoiceList::scrollToChosen()
{
    if (const int row = chosenRow(); row >= 0)
        scrollTo(model()->index(row, 0), QAbstractItemView::PositionAtCenter);
}

void ChoiceList::focusInEvent(QFocusEvent* event)
{
    // Arrive on the chosen entry. Without one the view would stand on its
    // first entry unchosen, and the first arrow key would pick the second;
    // standing on none, the first key picks the first.
    const int row = chosenRow();
    if (row >= 0 && !currentIndex().isValid())
        selectionModel()->setCurrentIndex(model()->index(row, 0), QItemSelectionModel::NoUpdate);
    QListWidget::focusInEvent(event);
    if (row < 0)
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void ChoiceList::focusOutEvent(QFocusEvent* event)
{
    QListWidget::focusOutEvent(event);
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

FocusWheelComboBox::FocusWheelComboBox(QWidget* parent) : QComboBox(parent)
{
    setFocusPolicy(Qt::StrongFocus); // not Qt::WheelFocus: the wheel passing over takes no focus
}

void FocusWheelComboBox::wheelEvent(QWheelEvent* event)
{
    if (!hasFocus()) {
        event->ignore(); // on to the scroll area around it
        return;
    }
    QComboBox::wheelEvent(event);
}

bool TabScrollArea::focusNextPrevChild(bool next)
{
    // QScrollArea's own version centres the control it reaches.
    return QWidget::focusNextPrevChild(next);
}

FocusRing::FocusRing(QWidget* control, QWidget* parent) : QWidget(parent), m_control(control)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(m_ring, m_ring, m_ring, m_ring);
    layout->addWidget(control);
    control->installEventFilter(this);
}

void FocusRing::setRingWidth(int pixels)
{
    m_ring = std::max(1, pixels);
    layout()->setContentsMargins(m_ring, m_ring, m_ring, m_ring);
    update();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_control && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        update();
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent*)
{
    if (!m_control->hasFocus())
        return;
    QPainter p(this);
    QPen pen(palette().color(QPalette::WindowText), m_ring);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const qreal half = m_ring / 2.0;
    p.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
}

namespace {

// The scroll bar value that brings [start, start + length) into a view of
// `view` pixels now scrolled to `value`.
int scrolledTo(int value, int view, int start, int length, int margin)
{
    if (length > view)
        return start; // the start of what does not fit
    if (start - margin < value)
        return std::max(0, start - std::min(margin, (view - length) / 2));
    if (start + length + margin > value + view)
        return start + length - view + std::min(margin, (view - length) / 2);
    return value;
}

} // namespace

void KeepInView(QScrollArea& area, const QWidget& control, int margin)
{
    const QWidget* content = area.widget();
    if (!content || !content->isAncestorOf(&control))
        return;
    const QRect r(control.mapTo(content, QPoint(0, 0)), control.size());
    const QSize view = area.viewport()->size();
    QScrollBar* h = area.horizontalScrollBar();
    QScrollBar* v = area.verticalScrollBar();
    h->setValue(scrolledTo(h->value(), view.width(), r.x(), r.width(), margin));
    v->setValue(scrolledTo(v->value(), view.height(), r.y(), r.height(), margin));
}
