// A window's scrolling client brings the control that takes the keyboard
// into view as a whole: a field with its frame (not just its text cursor,
// which is all Qt's ensureWidgetVisible shows of a line edit), with the
// margin where the view has the room, and a control longer than the view
// from its start edge on.
#include "ui/ClientScroller.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int Margin = 10;

class ClientScroller : public ::testing::Test {
protected:
    void SetUp() override
    {
        content->setFixedSize(1200, 900);
        scroller = NewClientScroller(window, content, Margin);
        scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        scroller->setGeometry(0, 0, 300, 200);
        window.resize(300, 200);
        // A field whose text cursor is near its left edge, far from the view.
        field->setGeometry(700, 500, 250, 40);
        // A control wider and taller than the view.
        wide->setGeometry(100, 300, 600, 260);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QRect inView(const QWidget& w) const { return QRect(w.mapTo(scroller->viewport(), QPoint(0, 0)), w.size()); }

    QWidget window;
    QWidget* content = new QWidget;
    QScrollArea* scroller = nullptr;
    QLineEdit* field = new QLineEdit(content);
    QPushButton* wide = new QPushButton(QStringLiteral("Neue Startwerte..."), content);
};

TEST_F(ClientScroller, AFieldTakingTheKeyboardComesIntoViewWholeWithTheMargin)
{
    field->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    const QRect r = inView(*field);
    const QRect view = scroller->viewport()->rect();
    EXPECT_TRUE(view.contains(r)) << r.x() << "," << r.y() << " in " << view.width() << "x" << view.height();
    EXPECT_TRUE(view.contains(r.adjusted(-Margin, -Margin, Margin, Margin)));

    // Back to a control at the content's start: scrolled back, not left where it was.
    content->setFocus();
    auto* first = new QLineEdit(content);
    first->setGeometry(20, 20, 100, 30);
    first->show();
    first->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(view.contains(inView(*first)));
    EXPECT_EQ(scroller->horizontalScrollBar()->value(), 10);
    EXPECT_EQ(scroller->verticalScrollBar()->value(), 10);
}

TEST_F(ClientScroller, AControlLongerThanTheViewShowsItsStartEdge)
{
    field->setFocus(Qt::TabFocusReason); // scrolled away to the right and down first
    QApplication::processEvents();
    wide->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(inView(*wide).topLeft(), QPoint(0, 0)) << "its left and top edges at the view's";
}

} // namespace
