// The text-background dialog's layout from measured sizes: the formulas'
// numbers while the dialog fits, a shorter list, stacked buttons and a
// scrolling client where the work area is too small.
#include "appearance/HintergrundLayout.h"

#include <gtest/gtest.h>

namespace {

HintergrundLayoutInput measured(int L, int W)
{
    HintergrundLayoutInput in;
    in.margin = 10;
    in.buttonWidth = W;
    in.buttonHeight = L + 12;
    in.lineHeight = L;
    in.listRoom = W / 2;
    in.scrollBarExtent = 15;
    return in;
}

TEST(HintergrundLayout, LineHeight13GivesTheWorkedNumbers)
{
    const HintergrundLayoutResult r = ComputeHintergrundLayout(measured(13, 100));
    EXPECT_EQ(r.list, (LayoutRect{10, 10, 210, 260}));
    EXPECT_EQ(r.button[0], (LayoutRect{10, 280, 100, 25}));
    EXPECT_EQ(r.button[1], (LayoutRect{120, 280, 100, 25}));
    EXPECT_EQ(r.clientWidth, 230);
    EXPECT_EQ(r.clientHeight, 315);
    EXPECT_EQ(r.arrangement, HintergrundArrangement::Full);
}

TEST(HintergrundLayout, ADialogThatFitsKeepsItsTwentyLines)
{
    HintergrundLayoutInput in = measured(74, 450);
    const HintergrundLayoutResult full = ComputeHintergrundLayout(in);
    in.room = {full.clientWidth, full.clientHeight};
    const HintergrundLayoutResult fitted = ComputeHintergrundLayout(in);
    EXPECT_EQ(fitted.arrangement, HintergrundArrangement::Full);
    EXPECT_EQ(fitted.list, full.list);
    EXPECT_EQ(fitted.list.height, 20 * 74);
    EXPECT_EQ(fitted.view.client, (LayoutSize{full.clientWidth, full.clientHeight}));
}

TEST(HintergrundLayout, ALowRoomShortensTheListToTheRoomLeft)
{
    // 48 points on 1920 x 1080, less a title bar: 1575 would not fit 1050.
    HintergrundLayoutInput in = measured(74, 450);
    in.room = {1912, 1050};
    const HintergrundLayoutResult r = ComputeHintergrundLayout(in);
    EXPECT_EQ(r.arrangement, HintergrundArrangement::ShortList);
    EXPECT_EQ(r.clientHeight, 1050) << "the list takes all the height there is";
    EXPECT_EQ(r.list.height, 1050 - 30 - 86);
    EXPECT_EQ(r.clientWidth, 30 + 2 * 450) << "as wide as the formulas make it";
    EXPECT_EQ(r.button[0].top, r.list.top + r.list.height + 10);
    EXPECT_FALSE(r.view.horizontal || r.view.vertical);
}

TEST(HintergrundLayout, ANarrowRoomStacksTheButtonsBelowANarrowerList)
{
    HintergrundLayoutInput in = measured(110, 640);
    in.listRoom = 560;
    in.room = {900, 1000};
    const HintergrundLayoutResult r = ComputeHintergrundLayout(in);
    ASSERT_EQ(r.arrangement, HintergrundArrangement::StackedButtons);
    EXPECT_EQ(r.clientWidth, 640 + 20);
    EXPECT_EQ(r.list.width, 640);
    EXPECT_EQ(r.button[1].left, r.button[0].left);
    EXPECT_EQ(r.button[1].top, r.button[0].top + 122 + 10);
    EXPECT_EQ(r.clientHeight, 1000);
    EXPECT_GE(r.list.height, 3 * 110);
}

TEST(HintergrundLayout, ListNeverShorterThanThreeLinesTheDialogScrollsInstead)
{
    HintergrundLayoutInput in = measured(110, 640);
    in.room = {632, 330};
    const HintergrundLayoutResult r = ComputeHintergrundLayout(in);
    ASSERT_EQ(r.arrangement, HintergrundArrangement::Scrolled);
    EXPECT_EQ(r.list.height, 3 * 110);
    EXPECT_TRUE(r.view.horizontal && r.view.vertical);
    EXPECT_EQ(r.view.client, in.room);
}

TEST(HintergrundLayout, EveryRoomGivesAClientThatFitsIt)
{
    for (int width = 200; width <= 2000; width += 91)
        for (int height = 150; height <= 2400; height += 103) {
            HintergrundLayoutInput in = measured(110, 640);
            in.listRoom = 600;
            in.room = {width, height};
            const HintergrundLayoutResult r = ComputeHintergrundLayout(in);
            SCOPED_TRACE(::testing::Message() << width << "x" << height);
            EXPECT_TRUE(FitsInto(r.view.client, in.room));
            EXPECT_GE(r.list.width, 600) << "the longest name beside the list's scroll bar";
            EXPECT_LE(r.button[1].left + r.button[1].width + 10, r.clientWidth);
            EXPECT_LE(r.button[1].top + r.button[1].height + 10, r.clientHeight);
            EXPECT_LE(r.list.top + r.list.height + 10, r.button[0].top);
        }
}

} // namespace
