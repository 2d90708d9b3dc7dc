// The main window's and the start-values dialog's layouts when the work area
// is too small for the formulas: measured sizes and a room in, rectangles
// out. While the formulas' window fits, nothing changes; beyond that the
// window fits and no control overlaps another or leaves the content.
#include "app/MainLayout.h"
#include "app/PixelLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int ScrollBar = 15;

bool Overlap(const LayoutRect& a, const LayoutRect& b)
{
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height
        && b.top < a.top + a.height;
}

bool Inside(const LayoutRect& r, int width, int height)
{
    return r.left >= 0 && r.top >= 0 && r.left + r.width <= width && r.top + r.height <= height;
}

void ExpectApart(const std::vector<LayoutRect>& rects, int width, int height)
{
    for (std::size_t i = 0; i < rects.size(); ++i) {
        EXPECT_TRUE(Inside(rects[i], width, height)) << "control " << i;
        for (std::size_t j = i + 1; j < rects.size(); ++j)
            EXPECT_FALSE(Overlap(rects[i], rects[j])) << "controls " << i << " and " << j;
    }
}

// A 72-point font's measures: line height 110, fields 120 high and 270 wide,
// labels up to 1000 wide, a hint of 2520 that wraps into lines of 1250.
MainLayoutInput largeMain()
{
    MainLayoutInput in;
    const int L = 110;
    in.label[0] = {1000, L};
    in.label[1] = {930, L};
    in.label[2] = {780, L};
    in.label[3] = {700, L};
    in.editHeight[0] = in.editHeight[1] = L + 8;
    in.spinHeight[0] = in.spinHeight[1] = L + 10;
    in.buttonHeight = L + 12;
    in.statusHeight = L + 6;
    in.fieldRoom = 270;
    in.buttonRoom = 900;
    in.statusRoom = 2520;
    in.statusHeightFor = [L](int width) { return L * ((2520 + width - 1) / width) + 6; };
    in.statusWordRoom = 1000;
    in.scrollBarExtent = ScrollBar;
    return in;
}

std::vector<LayoutRect> mainRects(const MainLayoutResult& r)
{
    return {r.label[0], r.label[1],
            r.label[2], r.label[3],
            r.edit[0],  r.edit[1],
            r.spin[0],  r.spin[1],
            r.button,   {0, r.clientHeight - r.statusHeight, r.clientWidth, r.statusHeight}};
}

TEST(MainLayoutFit, AWindowThatFitsKeepsTheFormulasToThePixel)
{
    MainLayoutInput in = largeMain();
    in.statusRoom = 0;
    const MainLayoutResult unlimited = ComputeMainLayout(in);
    in.room = {unlimited.clientWidth, unlimited.clientHeight}; // exactly as large
    const MainLayoutResult fitted = ComputeMainLayout(in);
    EXPECT_EQ(fitted.arrangement, MainArrangement::Grid);
    EXPECT_FALSE(fitted.statusWrapped);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(fitted.label[i], unlimited.label[i]);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(fitted.edit[i], unlimited.edit[i]);
        EXPECT_EQ(fitted.spin[i], unlimited.spin[i]);
    }
    EXPECT_EQ(fitted.button, unlimited.button);
    EXPECT_EQ(fitted.view.client, (LayoutSize{unlimited.clientWidth, unlimited.clientHeight}));
    EXPECT_FALSE(fitted.view.horizontal || fitted.view.vertical);
}

TEST(MainLayoutFit, AHintWiderThanTheRoomWrapsUnderTheGrid)
{
    MainLayoutInput in = largeMain();
    const int gridWidth = 240 + 1000 + 930 + 2 * (270 - 100);
    in.room = {gridWidth + 5, 1000}; // the grid fits, the hint on one line (2520) does not
    const MainLayoutResult r = ComputeMainLayout(in);
    EXPECT_EQ(r.arrangement, MainArrangement::GridWrappedHint);
    EXPECT_TRUE(r.statusWrapped);
    EXPECT_EQ(r.clientWidth, gridWidth);
    EXPECT_EQ(r.statusHeight, in.statusHeightFor(gridWidth));
    EXPECT_EQ(r.edit[1].left, 130 + 1000 + 930 + 170) << "the columns as the formulas put them";
    EXPECT_TRUE(FitsInto(r.view.client, in.room));
    ExpectApart(mainRects(r), r.clientWidth, r.clientHeight);
}

TEST(MainLayoutFit, ANarrowRoomStacksTheColumnsInTabOrder)
{
    MainLayoutInput in = largeMain();
    in.room = {1500, 1000};
    const MainLayoutResult r = ComputeMainLayout(in);
    ASSERT_EQ(r.arrangement, MainArrangement::Stacked);
    EXPECT_TRUE(FitsInto(r.view.client, in.room));
    // Start width, new width, start height, new height: one below the other, one field column.
    EXPECT_LT(r.edit[0].top, r.spin[0].top);
    EXPECT_LT(r.spin[0].top, r.edit[1].top);
    EXPECT_LT(r.edit[1].top, r.spin[1].top);
    EXPECT_EQ(r.edit[0].left, 10 + 1000 + 5);
    for (const LayoutRect& f : {r.edit[1], r.spin[0], r.spin[1]})
        EXPECT_EQ(f.left, r.edit[0].left);
    // Each label left of its field, centred on it.
    EXPECT_EQ(r.label[2].top, r.spin[0].top + HalfOf(r.spin[0].height - 110));
    EXPECT_LE(r.label[2].left + r.label[2].width, r.spin[0].left);
    EXPECT_TRUE(r.statusWrapped);
    ExpectApart(mainRects(r), r.clientWidth, r.clientHeight);
}

TEST(MainLayoutFit, ARoomTooSmallEvenForTheStackScrolls)
{
    MainLayoutInput in = largeMain();
    in.room = {632, 270}; // 1920 x 1080 at three times the scale, less frame and menu
    const MainLayoutResult r = ComputeMainLayout(in);
    ASSERT_EQ(r.arrangement, MainArrangement::Scrolled);
    EXPECT_TRUE(r.view.horizontal);
    EXPECT_TRUE(r.view.vertical);
    EXPECT_EQ(r.view.client, in.room);
    ExpectApart(mainRects(r), r.clientWidth, r.clientHeight);
    // No word of the hint is cut: the content is at least as wide as the widest one.
    EXPECT_GE(r.clientWidth, in.statusWordRoom);
}

TEST(MainLayoutFit, EveryRoomGivesAClientThatFitsIt)
{
    for (int width = 200; width <= 3000; width += 137)
        for (int height = 150; height <= 1500; height += 111) {
            MainLayoutInput in = largeMain();
            in.room = {width, height};
            const MainLayoutResult r = ComputeMainLayout(in);
            SCOPED_TRACE(::testing::Message() << width << "x" << height);
            EXPECT_TRUE(FitsInto(r.view.client, in.room));
            ExpectApart(mainRects(r), r.clientWidth, r.clientHeight);
            if (r.arrangement != MainArrangement::Scrolled) {
                EXPECT_EQ(r.view.client, (LayoutSize{r.clientWidth, r.clientHeight}));
            }
        }
}

PixelLayoutInput largePixel()
{
    PixelLayoutInput in;
    const int L = 110;
    in.label[0] = {520, L};
    in.label[1] = {470, L};
    in.spinHeight[0] = in.spinHeight[1] = L + 10;
    in.buttonHeight = L + 12;
    in.fieldRoom = 230;
    in.buttonRoom = 470;
    in.scrollBarExtent = ScrollBar;
    return in;
}

std::vector<LayoutRect> pixelRects(const PixelLayoutResult& r)
{
    return {r.label[0], r.spin[0], r.label[1], r.spin[1], r.button[0], r.button[1]};
}

TEST(PixelLayoutFit, ADialogThatFitsKeepsTheFormulasToThePixel)
{
    PixelLayoutInput in = largePixel();
    const PixelLayoutResult unlimited = ComputePixelLayout(in);
    in.room = {unlimited.clientWidth, unlimited.clientHeight};
    const PixelLayoutResult fitted = ComputePixelLayout(in);
    EXPECT_EQ(fitted.arrangement, PixelArrangement::Row);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(fitted.label[i], unlimited.label[i]);
        EXPECT_EQ(fitted.spin[i], unlimited.spin[i]);
        EXPECT_EQ(fitted.button[i], unlimited.button[i]);
    }
    EXPECT_EQ(fitted.view.client, (LayoutSize{unlimited.clientWidth, unlimited.clientHeight}));
}

TEST(PixelLayoutFit, ANarrowRoomPutsTheHeightBelowTheWidth)
{
    PixelLayoutInput in = largePixel();
    in.room = {1000, 700};
    const PixelLayoutResult r = ComputePixelLayout(in);
    ASSERT_EQ(r.arrangement, PixelArrangement::Stacked);
    EXPECT_TRUE(FitsInto(r.view.client, in.room));
    EXPECT_EQ(r.spin[0].left, r.spin[1].left);
    EXPECT_LT(r.spin[0].top, r.spin[1].top);
    // The buttons below, side by side with equal gaps.
    EXPECT_GT(r.button[0].top, r.spin[1].top);
    EXPECT_EQ(r.button[0].top, r.button[1].top);
    EXPECT_EQ(r.button[1].left, 2 * r.button[0].left + r.button[0].width);
    ExpectApart(pixelRects(r), r.clientWidth, r.clientHeight);
}

TEST(PixelLayoutFit, EveryRoomGivesAClientThatFitsIt)
{
    for (int width = 150; width <= 2000; width += 97)
        for (int height = 100; height <= 800; height += 73) {
            PixelLayoutInput in = largePixel();
            in.room = {width, height};
            const PixelLayoutResult r = ComputePixelLayout(in);
            SCOPED_TRACE(::testing::Message() << width << "x" << height);
            EXPECT_TRUE(FitsInto(r.view.client, in.room));
            ExpectApart(pixelRects(r), r.clientWidth, r.clientHeight);
        }
}

} // namespace

namespace {

TEST(PixelLayoutFit, ARoomNarrowerThanTheButtonRowPutsOneButtonAboveTheOther)
{
    PixelLayoutInput in = largePixel();
    const int buttonRow = 2 * in.buttonRoom + 3 * pixellayout::Margin;
    in.room = {buttonRow - 1, 800};
    PixelLayoutResult r = ComputePixelLayout(in);
    ASSERT_EQ(r.arrangement, PixelArrangement::StackedButtons);
    EXPECT_TRUE(FitsInto(r.view.client, in.room));
    EXPECT_FALSE(r.view.horizontal || r.view.vertical);
    EXPECT_EQ(r.spin[0].left, r.spin[1].left);
    EXPECT_GT(r.button[0].top, r.spin[1].top + r.spin[1].height);
    EXPECT_GE(r.button[1].top, r.button[0].top + r.button[0].height + pixellayout::Margin);
    // Each centred, also in a client wider than asked for.
    for (const int width : {r.clientWidth, r.clientWidth + 7}) {
        ButtonLeftsFor(width, r);
        for (const LayoutRect& b : r.button) {
            EXPECT_EQ(b.left, (width - b.width) / 2);
        }
    }
    ExpectApart(pixelRects(r), r.clientWidth, r.clientHeight);

    // Where the row fits, the buttons stay side by side.
    in.room.width = buttonRow;
    r = ComputePixelLayout(in);
    EXPECT_EQ(r.arrangement, PixelArrangement::Stacked);
    EXPECT_EQ(r.button[0].top, r.button[1].top);
}

TEST(PixelLayoutFit, NoRoomAsWideAsTheWidestControlScrollsSideways)
{
    const PixelLayoutInput base = largePixel();
    const int widest = std::max(pixellayout::Margin + std::max(base.label[0].width, base.label[1].width)
                                    + pixellayout::LabelGap + base.fieldRoom + pixellayout::Margin,
                                base.buttonRoom + 2 * pixellayout::Margin);
    for (int width = widest; width <= 2000; width += 31)
        for (int height = 100; height <= 800; height += 73) {
            PixelLayoutInput in = base;
            in.room = {width, height};
            const PixelLayoutResult r = ComputePixelLayout(in);
            SCOPED_TRACE(::testing::Message() << width << "x" << height);
            EXPECT_TRUE(FitsInto(r.view.client, in.room));
            // A vertical scroll bar takes its width from the room.
            if (width >= widest + (r.view.vertical ? ScrollBar : 0)) {
                EXPECT_FALSE(r.view.horizontal);
            }
            ExpectApart(pixelRects(r), r.clientWidth, r.clientHeight);
        }
}

} // namespace
