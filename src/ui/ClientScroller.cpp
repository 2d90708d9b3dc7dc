#include "ui/ClientScroller.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>

namespace {

// Scrolls one direction so that the control from `start`, `length` long, is
// in a view `view` long: with `margin` beside it where the view has the room,
// else centred, and its start edge at the view's edge where the control is
// longer than the view.
void bringIntoView(QScrollBar& bar, int start, int length, int view, int margin)
{
    int value = bar.value();
    if (length + 2 * margin <= view) {
        if (start - margin < value)
            value = start - margin;
        else if (start + length + margin > value + view)
            value = start + length + margin - view;
    } else if (length <= view) {
        value = start - (view - length) / 2;
    } else {
        value = start;
    }
    bar.setValue(value);
}

} // namespace

QScrollArea* NewClientScroller(QWidget& window, QWidget* content, int margin)
{
    auto* scroller = new QScrollArea(&window);
    scroller->setObjectName(QStringLiteral("ClientScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    content->setObjectName(QStringLiteral("ClientArea"));
    scroller->setWidget(content);
    QObject::connect(qApp, &QApplication::focusChanged, scroller, [scroller, content, margin](QWidget*, QWidget* now) {
        if (!now || now == content || !content->isAncestorOf(now))
            return;
        // The control among the client's own, not the editor inside a spin field.
        QWidget* control = now;
        while (control->parentWidget() != content)
            control = control->parentWidget();
        const QSize view = scroller->viewport()->size();
        bringIntoView(*scroller->horizontalScrollBar(), control->x(), control->width(), view.width(), margin);
        bringIntoView(*scroller->verticalScrollBar(), control->y(), control->height(), view.height(), margin);
    });
    return scroller;
}
