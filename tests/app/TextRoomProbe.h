#pragma once
// Checks that a control has room for its text, measured the way the style
// paints it: a label's contents rectangle, a push button's contents element,
// an edit field's text line (contents element less text margins, less the
// field's own inner margin of 2 pixels on either side).
#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QListWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <gtest/gtest.h>

namespace windowtest {

// The widgets' own style options, which their classes keep protected.
struct LineEditOption : QLineEdit {
    static QStyleOptionFrame of(const QLineEdit& e)
    {
        QStyleOptionFrame o;
        (e.*(&LineEditOption::initStyleOption))(&o);
        return o;
    }
};
struct ButtonOption : QPushButton {
    static QStyleOptionButton of(const QPushButton& b)
    {
        QStyleOptionButton o;
        (b.*(&ButtonOption::initStyleOption))(&o);
        return o;
    }
};

inline std::string nameOf(const QWidget& w)
{
    QString name = w.objectName();
    if (name.isEmpty())
        name = w.accessibleName();
    if (name.isEmpty() && w.parentWidget())
        name = w.parentWidget()->objectName();
    return (name + QStringLiteral(" in ") + w.window()->objectName() + QStringLiteral(" \"") + w.window()->windowTitle()
            + QStringLiteral("\""))
        .toStdString();
}

inline void ExpectLabelWhole(const QLabel& l)
{
    const QSize need = QFontMetrics(l.font()).size(Qt::TextShowMnemonic, l.text());
    const QRect room = l.contentsRect();
    EXPECT_LE(need.width(), room.width()) << nameOf(l) << " \"" << l.text().toStdString() << "\"";
    EXPECT_LE(need.height(), room.height()) << nameOf(l);
}

inline void ExpectButtonWhole(const QPushButton& b)
{
    const QStyleOptionButton o = ButtonOption::of(b);
    const QRect room = b.style()->subElementRect(QStyle::SE_PushButtonContents, &o, &b);
    const QSize need = QFontMetrics(b.font()).size(Qt::TextShowMnemonic, b.text());
    EXPECT_LE(need.width(), room.width()) << nameOf(b) << " \"" << b.text().toStdString() << "\"";
    EXPECT_LE(need.height(), room.height()) << nameOf(b);
}

inline QRect textLineOf(const QLineEdit& e)
{
    const QStyleOptionFrame o = LineEditOption::of(e);
    QRect r = e.style()->subElementRect(QStyle::SE_LineEditContents, &o, &e);
    r = r.marginsRemoved(e.textMargins());
    return r.adjusted(2, 0, -2, 0);
}

// Every text of `texts` fits the field's text line, caret included.
inline void ExpectFieldShows(const QLineEdit& e, const QStringList& texts)
{
    const QRect line = textLineOf(e);
    const QFontMetrics fm(e.font());
    for (const QString& t : texts)
        EXPECT_LE(fm.horizontalAdvance(t) + 1, line.width()) << nameOf(e) << " \"" << t.toStdString() << "\"";
    EXPECT_LE(fm.height(), line.height()) << nameOf(e);
}

// Every text of a window's controls fits: labels and push buttons as above,
// check boxes and combo boxes at least at the size they ask for, list items
// within their rows and the list wide enough for them.
inline void ExpectWindowTextsWhole(const QWidget& window)
{
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window))
            continue;
        if (const auto* l = qobject_cast<const QLabel*>(w); l && !l->text().isEmpty() && !l->wordWrap()) {
            ExpectLabelWhole(*l);
        } else if (const auto* b = qobject_cast<const QPushButton*>(w)) {
            ExpectButtonWhole(*b);
        } else if (qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w)) {
            EXPECT_GE(w->width(), w->sizeHint().width()) << nameOf(*w);
            EXPECT_GE(w->height(), w->sizeHint().height()) << nameOf(*w);
        } else if (const auto* list = qobject_cast<const QListWidget*>(w)) {
            // The item's text with the style's margins on either side, within
            // the part of its row that the view shows (no horizontal scrolling).
            const QFontMetrics fm(list->font());
            const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
            for (int i = 0; i < list->count(); ++i) {
                const QRect row = list->visualItemRect(list->item(i));
                const QRect shown(0, row.y(), list->viewport()->width(), row.height());
                EXPECT_LE(fm.horizontalAdvance(list->item(i)->text()) + 2 * margin, row.intersected(shown).width())
                    << nameOf(*w) << " \"" << list->item(i)->text().toStdString() << "\"";
                EXPECT_GE(row.height(), fm.height()) << nameOf(*w);
            }
        }
    }
}

// No control of the window covers a sibling: for every widget, its visible
// children (windows of their own aside) have rectangles that do not intersect.
inline void ExpectNoSiblingOverlap(const QWidget& window)
{
    std::vector<const QWidget*> parents{&window};
    for (const QWidget* w : window.findChildren<QWidget*>())
        if (w->window() == &window && w->isVisibleTo(&window))
            parents.push_back(w);
    for (const QWidget* parent : parents) {
        std::vector<const QWidget*> children;
        for (const QObject* o : parent->children())
            if (const auto* c = qobject_cast<const QWidget*>(o); c && c->window() == &window && c->isVisibleTo(&window))
                children.push_back(c);
        for (std::size_t i = 0; i < children.size(); ++i)
            for (std::size_t j = i + 1; j < children.size(); ++j) {
                const QRect a = children[i]->geometry(), b = children[j]->geometry();
                EXPECT_FALSE(a.intersects(b))
                    << children[i]->metaObject()->className() << " " << nameOf(*children[i]) << " at " << a.x() << ","
                    << a.y() << " " << a.width() << "x" << a.height() << " / " << children[j]->metaObject()->className()
                    << " " << nameOf(*children[j]) << " at " << b.x() << "," << b.y() << " " << b.width() << "x"
                    << b.height();
            }
    }
}

} // namespace windowtest
