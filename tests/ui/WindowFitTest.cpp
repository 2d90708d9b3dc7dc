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

namespace {

// A text of `words` words `wordWidth` wide, `lineHeight` high per line,
// wrapped at a width: as many words a line as fit; a word wider than the
// width broken over as many lines as it takes.
struct WordText {
    int words = 60;
    int wordWidth = 50;
    int lineHeight = 30;
    LayoutSize operator()(int width) const
    {
        if (wordWidth > width)
            return {width, words * ((wordWidth + width - 1) / width) * lineHeight};
        const int perLine = width / wordWidth;
        const int lines = (words + perLine - 1) / perLine;
        return {std::min(words, perLine) * wordWidth, lines * lineHeight};
    }
};

constexpr LayoutSize Around{120, 80}; // icon column and margins; button row and margins
constexpr LayoutSize Least{200, 150}; // the button row's width; the icon's height

TEST(FitTextWindow, AWindowThatFitsKeepsItsOwnLayout)
{
    const WordText text;
    const TextWindowFit f = FitTextWindow({800, 700}, Around, Least, {800, 700}, 15, text.wordWidth, text);
    EXPECT_FALSE(f.changed);
    EXPECT_EQ(f.window, (LayoutSize{800, 700}));
}

TEST(FitTextWindow, ATooWideTextWrapsAtTheRoomsWidth)
{
    const WordText text{12, 50, 30}; // one line of 600
    const LayoutSize wanted{Around.width + 600, std::max(Least.height, Around.height + 30)};
    const LayoutSize room{500, 1000};
    const TextWindowFit f = FitTextWindow(wanted, Around, Least, room, 15, text.wordWidth, text);
    ASSERT_TRUE(f.changed);
    EXPECT_TRUE(FitsInto(f.window, room));
    EXPECT_FALSE(f.view.horizontal || f.view.vertical);
    EXPECT_EQ(f.text, text(room.width - Around.width)); // 7 words a line, 2 lines
    EXPECT_EQ(f.view.client, f.text);
    EXPECT_EQ(f.window, (LayoutSize{Around.width + f.text.width, std::max(Least.height, Around.height + 60)}));
}

TEST(FitTextWindow, ATooHighTextTakesTheRoomsWidthThenScrollsInTheHeightThatIsLeft)
{
    const WordText text{120, 50, 30}; // 12 lines of 10 words at 500
    const LayoutSize wanted{Around.width + 500, Around.height + 12 * 30};
    const LayoutSize room{900, 300};
    const TextWindowFit f = FitTextWindow(wanted, Around, Least, room, 15, text.wordWidth, text);
    ASSERT_TRUE(f.changed);
    EXPECT_TRUE(FitsInto(f.window, room));
    EXPECT_TRUE(f.view.vertical);
    EXPECT_FALSE(f.view.horizontal);
    EXPECT_EQ(f.window.height, room.height) << "the view takes all the height there is";
    EXPECT_EQ(f.text, text(room.width - Around.width - 15)) << "wrapped in what the scroll bar leaves of the room";
    EXPECT_EQ(f.view.client.width, f.text.width + 15);
}

TEST(FitTextWindow, ATextThatTheRoomsWidthMakesLowEnoughDoesNotScroll)
{
    const WordText text{32, 50, 30}; // 4 lines of 10 words at 500, 2 of 16 at 800
    const LayoutSize wanted{Around.width + 500, Around.height + 4 * 30};
    const LayoutSize room{Around.width + 800, Least.height}; // 70 for the text
    const TextWindowFit f = FitTextWindow(wanted, Around, Least, room, 15, text.wordWidth, text);
    ASSERT_TRUE(f.changed);
    EXPECT_FALSE(f.view.vertical || f.view.horizontal);
    EXPECT_EQ(f.text, text(800));
    EXPECT_TRUE(FitsInto(f.window, room));
}

TEST(FitTextWindow, AWordWiderThanTheRoomIsBrokenAndNothingScrollsSideways)
{
    const WordText text{3, 700, 30};
    const LayoutSize wanted{Around.width + 2100, Least.height};
    const LayoutSize room{600, 600};
    const TextWindowFit f = FitTextWindow(wanted, Around, Least, room, 15, text.wordWidth, text);
    EXPECT_TRUE(FitsInto(f.window, room));
    EXPECT_FALSE(f.view.horizontal);
    EXPECT_EQ(f.view.client.width, room.width - Around.width);
    EXPECT_EQ(f.text, text(room.width - Around.width));
}

TEST(FitTextWindow, AWordWiderThanTheTextWasWidensTheTextUpToTheRoom)
{
    const WordText text{4, 300, 30};
    const LayoutSize wanted{Around.width + 250, Around.height + 600}; // laid out as if it broke the word
    const LayoutSize room{1000, 400};
    const TextWindowFit f = FitTextWindow(wanted, Around, Least, room, 15, text.wordWidth, text);
    ASSERT_TRUE(f.changed);
    EXPECT_TRUE(FitsInto(f.window, room));
    EXPECT_FALSE(f.view.horizontal) << "the room holds the word";
    EXPECT_GE(f.view.client.width, 300);
    EXPECT_EQ(f.window, (LayoutSize{Around.width + 300, std::max(Least.height, Around.height + 4 * 30)}));
}

TEST(FitTextWindow, EveryRoomThatHoldsTheFixedPartsHoldsTheWindow)
{
    const WordText text{200, 40, 25};
    const LayoutSize wanted{Around.width + 900, Around.height + 25 * 9};
    for (int width = Least.width; width <= 1200; width += 37)
        for (int height = Least.height; height <= 1200; height += 41) {
            SCOPED_TRACE(::testing::Message() << width << "x" << height);
            const LayoutSize room{width, height};
            const TextWindowFit f = FitTextWindow(wanted, Around, Least, room, 15, text.wordWidth, text);
            EXPECT_TRUE(FitsInto(f.window, room));
            EXPECT_EQ(f.changed, !FitsInto(wanted, room));
            if (f.changed) {
                // What the view does not show, its scroll bar reaches.
                const int barWidth = f.view.vertical ? 15 : 0, barHeight = f.view.horizontal ? 15 : 0;
                EXPECT_FALSE(f.view.horizontal) << "nothing scrolls sideways";
                EXPECT_LE(f.text.width + barWidth, f.view.client.width);
                EXPECT_TRUE(f.view.vertical || f.text.height + barHeight <= f.view.client.height);
            }
        }
}

} // namespace
