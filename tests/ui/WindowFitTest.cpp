// Fitting a window into the work area: the room for its client, the scroll
// bars a content larger than that room needs, and placement that keeps the
// whole outer rectangle inside the work area.
#include "ui/WindowFit.h"

#include <gtest/gtest.h>

namespace {

TEST(ClientRoom, IsTheWorkAreaLessWhatLiesAroundTheClient)
{
    EXPECT_EQ(ClientRoom({1920, 1040}, {8, 31}), (LayoutSize{1912, 1009}));
    EXPECT_EQ(ClientRoom({100, 50}, {300, 300}), (LayoutSize{1, 1})) << "never below one pixel";
}

TEST(FitByScrolling, ScrollsOnlyWhereTheContentOverflows)
{
    // Taller only: a vertical bar, and the client as wide as content and bar.
    ScrollFit f = FitByScrolling({400, 900}, {1000, 600}, 15);
    EXPECT_FALSE(f.horizontal);
    EXPECT_TRUE(f.vertical);
    EXPECT_EQ(f.client, (LayoutSize{415, 600}));
    // Wider only.
    f = FitByScrolling({1200, 300}, {1000, 600}, 15);
    EXPECT_TRUE(f.horizontal);
    EXPECT_FALSE(f.vertical);
    EXPECT_EQ(f.client, (LayoutSize{1000, 315}));
    // Both.
    f = FitByScrolling({3000, 3000}, {640, 300}, 15);
    EXPECT_TRUE(f.horizontal && f.vertical);
    EXPECT_EQ(f.client, (LayoutSize{640, 300}));
}

TEST(FitByScrolling, AScrollBarThatTakesTheLastRoomBringsTheOtherOne)
{
    // 590 fits 600, but not beside the horizontal bar of the too wide content.
    const ScrollFit f = FitByScrolling({1200, 590}, {1000, 600}, 15);
    EXPECT_TRUE(f.horizontal);
    EXPECT_TRUE(f.vertical);
    EXPECT_EQ(f.client, (LayoutSize{1000, 600}));
    // And the other way round: 990 wide beside a vertical bar of a too tall content.
    const ScrollFit g = FitByScrolling({990, 900}, {1000, 600}, 15);
    EXPECT_TRUE(g.horizontal && g.vertical);
}

TEST(KeepInside, LeavesAWindowThatLiesInsideWhereItIs)
{
    const LayoutRect wa{0, 30, 1920, 1050};
    EXPECT_EQ(KeepInside(wa, {759, 464}, {400, 150}), (LayoutPoint{759, 464}));
    EXPECT_EQ(KeepInside(wa, {0, 30}, {1920, 1050}), (LayoutPoint{0, 30})) << "exactly as large";
}

TEST(KeepInside, MovesTheLeastThatBringsTheWholeWindowIn)
{
    const LayoutRect wa{60, 30, 1860, 1050};
    EXPECT_EQ(KeepInside(wa, {0, 0}, {400, 300}), (LayoutPoint{60, 30})) << "under the panels";
    EXPECT_EQ(KeepInside(wa, {1700, 900}, {400, 300}), (LayoutPoint{1920 - 400, 1080 - 300})) << "beyond the screen";
    EXPECT_EQ(KeepInside(wa, {-637, 500}, {1500, 300}), (LayoutPoint{60, 500}));
}

TEST(KeepInside, AWindowLargerThanTheWorkAreaKeepsItsTitleBarInTheCorner)
{
    const LayoutRect wa{60, 30, 1860, 1050};
    EXPECT_EQ(KeepInside(wa, {-100, -2}, {2558, 1200}), (LayoutPoint{60, 30}));
    EXPECT_EQ(KeepInside(wa, {500, -2}, {300, 1200}), (LayoutPoint{500, 30}));
}

} // namespace
