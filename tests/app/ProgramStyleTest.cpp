// The style that the program's application object installs, seen where the
// user meets it: the push button reached by Tab carries a dashed frame in its
// text colour, and the menu bar's overflow arrows are drawn by the style, not
// read from image files. Runs under the program's own application object (the
// main is in ErrorBoxTest.cpp).
#include "WindowTestSupport.h"

#include <QIcon>
#include <QImage>
#include <QMenuBar>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <gtest/gtest.h>

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

} // namespace
