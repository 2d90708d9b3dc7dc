// The menu bar's overflow arrows, drawn by the program's style instead of read
// from image files, must still show.
#include "app/OverflowArrowStyle.h"

#include <QImage>
#include <QPainter>
#include <QStyleFactory>
#include <gtest/gtest.h>

namespace {

int paintedPixels(const QIcon& icon, QIcon::Mode mode)
{
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        icon.paint(&p, image.rect(), Qt::AlignCenter, mode);
    }
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qAlpha(image.pixel(x, y)) != 0;
    return n;
}

class OverflowArrows : public ::testing::TestWithParam<QStyle::StandardPixmap> {};

TEST_P(OverflowArrows, AreDrawnVisiblyInEveryMode)
{
    OverflowArrowStyle style(QStyleFactory::create(QStringLiteral("Fusion")));
    const QIcon icon = style.standardIcon(GetParam());
    ASSERT_FALSE(icon.isNull());
    EXPECT_GT(paintedPixels(icon, QIcon::Normal), 0);
    EXPECT_GT(paintedPixels(icon, QIcon::Disabled), 0);
    // A copy of the icon (the toolkit copies it into the button) still draws.
    const QIcon copy = icon;
    EXPECT_EQ(paintedPixels(copy, QIcon::Normal), paintedPixels(icon, QIcon::Normal));
}

INSTANTIATE_TEST_SUITE_P(MenuBar, OverflowArrows,
                         ::testing::Values(QStyle::SP_ToolBarHorizontalExtensionButton,
                                           QStyle::SP_ToolBarVerticalExtensionButton));

} // namespace
