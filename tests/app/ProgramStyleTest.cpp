// The style that the program's application object installs, seen where the
// user meets it: the push button reached by Tab carries a dashed frame in its
// text colour, and the menu bar's overflow arrows are drawn by the style, not
// read from image files. Runs under the program's own application object (the
// main is in ErrorBoxTest.cpp).
#include "WindowTestSupport.h"

#include "ui/TFont.h"
#include "ui/TextContrast.h"

#include <QComboBox>
#include <QIcon>
#include <QImage>
#include <QMenuBar>
#include <QListWidget>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cmath>

using namespace windowtest;

namespace {

// Along the row (or column) with the most pixels that are `colour` in `focused`
// but not in `plain`: how many there are, in how many separate stretches, and
// how far apart the first and the last lie.
struct AddedLine {
    int pixels = 0;
    int stretches = 0;
    int span = 0;
};

AddedLine busiestLine(const QImage& focused, const QImage& plain, QRgb colour, bool rows)
{
    AddedLine best;
    const int lines = rows ? focused.height() : focused.width();
    const int length = rows ? focused.width() : focused.height();
    for (int l = 0; l < lines; ++l) {
        AddedLine line;
        int first = -1, last = -1;
        bool inStretch = false;
        for (int i = 0; i < length; ++i) {
            const int x = rows ? i : l;
            const int y = rows ? l : i;
            const bool added = focused.pixel(x, y) == colour && plain.pixel(x, y) != colour;
            if (added) {
                ++line.pixels;
                line.stretches += inStretch ? 0 : 1;
                first = first < 0 ? i : first;
                last = i;
            }
            inStretch = added;
        }
        line.span = first < 0 ? 0 : last - first + 1;
        if (line.pixels > best.pixels)
            best = line;
    }
    return best;
}

QImage drawn(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Both buttons, the default button "O&K" included: the focus adds a frame of
// dashes in the button's text colour around the caption, on every side.
TEST(Keyboard, ButtonsReachedByTabShowTheFocus)
{
    Windows w;
    w.form->Timer1->stop();
    PixelForm->SchriftartZuweisen();
    PixelForm->show();
    QApplication::setActiveWindow(PixelForm);
    ASSERT_TRUE(QTest::qWaitForWindowActive(PixelForm));

    for (QPushButton* b : {PixelForm->Button2, PixelForm->Button1}) {
        SCOPED_TRACE(b->text().toStdString());
        for (int i = 0; i < 4 && QApplication::focusWidget() != b; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), b);
        const QImage focused = drawn(b);
        QTest::keyClick(b, Qt::Key_Tab); // on to the next control: the same button without the focus
        ASSERT_NE(QApplication::focusWidget(), b);
        const QImage plain = drawn(b);

        const QRgb text = b->palette().color(QPalette::ButtonText).rgb();
        const AddedLine across = busiestLine(focused, plain, text, true);
        const AddedLine down = busiestLine(focused, plain, text, false);
        EXPECT_GE(across.stretches, 3) << "a dashed top or bottom edge";
        EXPECT_GT(across.span, b->width() / 2);
        EXPECT_GE(down.stretches, 2) << "a dashed side";
        EXPECT_GT(down.span, b->height() / 2);
    }
}

int paintedPixels(const QIcon& icon, int size, QIcon::Mode mode)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        icon.paint(&p, image.rect(), Qt::AlignCenter, mode);
    }
    int n = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            n += qAlpha(image.pixel(x, y)) != 0;
    return n;
}

// An icon read from image files lists the sizes it was read in; a drawn one has
// none and draws at any size. Reading the files at start-up would load every
// image-format plugin before the first window shows.
TEST(ProgramStyle, MenuBarOverflowArrowsAreDrawnNotReadFromImageFiles)
{
    Windows w;
    auto* extension = w.form->menuBar()->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
    ASSERT_NE(extension, nullptr) << "the menu bar's overflow button";
    const QIcon horizontal = extension->icon();
    const QIcon vertical = QApplication::style()->standardIcon(QStyle::SP_ToolBarVerticalExtensionButton);
    for (const QIcon& icon : {horizontal, vertical}) {
        ASSERT_FALSE(icon.isNull());
        EXPECT_TRUE(icon.availableSizes().isEmpty());
        for (int size : {16, 48}) {
            EXPECT_GT(paintedPixels(icon, size, QIcon::Normal), 0) << size;
            EXPECT_GT(paintedPixels(icon, size, QIcon::Disabled), 0) << size;
        }
    }
}

// The style below the program's own: the desktop's, whose sizes stay beside small fonts.
const QStyle* desktopStyle()
{
    const auto* own = qobject_cast<const QProxyStyle*>(QApplication::style());
    return own ? own->baseStyle() : QApplication::style();
}

QFont displayFont(int points)
{
    TFont f;
    f.Name = QStringLiteral("Arial");
    f.setSize(points);
    return f.toQFont();
}

class ScaledParts : public ::testing::TestWithParam<int> {
protected:
    QFont font = displayFont(GetParam());
    int line = QFontMetrics(font).height();
};

// Scroll bars beside a large font are as thick as the number fields' arrows
// are wide: two thirds of a line; beside a small one the desktop style's own.
TEST_P(ScaledParts, ScrollBarsGrowWithTheFont)
{
    QListWidget list;
    list.setFont(font);
    for (int i = 0; i < 60; ++i)
        list.addItem(QStringLiteral("Liberation Sans Narrow %1").arg(i));
    list.resize(4 * line, 4 * line);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    const int own = desktopStyle()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list.verticalScrollBar());
    const int bar = list.verticalScrollBar()->width();
    ASSERT_TRUE(list.verticalScrollBar()->isVisible());
    if (line * 2 / 3 <= own) {
        EXPECT_EQ(bar, own);
    } else {
        EXPECT_GE(bar, std::max(24, line * 2 / 3));
    }
    EXPECT_EQ(list.horizontalScrollBar()->sizeHint().height(), bar);
    RecordProperty("scroll_bar", bar);
}

// The arrow of a drop-down box: its strip as wide as a scroll bar beside the
// font, the triangle drawn as large as the strip, the text clear of it.
TEST_P(ScaledParts, DropDownArrowGrowsWithTheFont)
{
    struct Box : QComboBox {
        using QComboBox::initStyleOption;
    } box;
    box.setFont(font);
    box.addItems({QStringLiteral("Fenstertext"), QStringLiteral("Dunkelrot")});
    box.resize(box.sizeHint());
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QStyleOptionComboBox o;
    box.initStyleOption(&o);
    const QRect arrow = box.style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxArrow, &box);
    const int own = desktopStyle()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxArrow, &box).width();
    const QRect text = box.style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, &box);
    EXPECT_LT(text.right(), arrow.left());
    EXPECT_GE(text.width(), QFontMetrics(font).horizontalAdvance(QStringLiteral("Fenstertext")));
    RecordProperty("arrow_strip", arrow.width());
    if (line * 2 / 3 <= own) {
        EXPECT_EQ(arrow.width(), own);
        return;
    }
    EXPECT_GE(arrow.width(), std::max(24, line * 2 / 3));
    // The triangle: the columns of the strip that hold pixels standing out 3:1 from the face.
    const QImage image = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal dpr = image.devicePixelRatio();
    const QColor face = box.palette().color(QPalette::Button);
    int first = -1, last = -1;
    for (int x = arrow.left(); x <= arrow.right(); ++x)
        for (int y = arrow.top(); y <= arrow.bottom(); ++y)
            if (ContrastRatio(QColor(image.pixel(std::lround(x * dpr), std::lround(y * dpr))), face) >= 3.0) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
    ASSERT_GE(first, 0) << "no arrow drawn";
    EXPECT_GE(last - first + 1, arrow.width() / 3);
}

INSTANTIATE_TEST_SUITE_P(Points, ScaledParts, ::testing::Values(14, 48, 72));

} // namespace
