// Finding the running instance's main window by the end of its title.
#include "instance/WindowSearch.h"
#include "RecordingWindowSystem.h"

#include <gtest/gtest.h>

namespace {

const std::u16string kTitle = u"Zarnolith V1.01";

struct TitleCase {
    const char* name;
    std::u16string title;
    std::u16string text;
    bool matches;
};

class TitleRule : public ::testing::TestWithParam<TitleCase> {};

// Each title is the only candidate behind a first window that the walk skips.
TEST_P(TitleRule, MatchesOnlyWhenTheFirstOccurrenceEndsTheTitle)
{
    RecordingWindowSystem ws;
    ws.titles = {u"Desktop", GetParam().title};
    EXPECT_EQ(instance::FensterMitTitelSuchen(ws, GetParam().text), GetParam().matches ? 2u : 0u);
}

const std::u16string x245(245, u'x');

INSTANTIATE_TEST_SUITE_P(
    Rows, TitleRule,
    ::testing::Values(TitleCase{"Equal", kTitle, kTitle, true},
                      TitleCase{"Prefix", u"Info \u2013 " + kTitle, kTitle, true},
                      TitleCase{"CharacterAfter", kTitle + u" ", kTitle, false},
                      TitleCase{"OtherCase", u"zarnolith V1.01", kTitle, false},
                      TitleCase{"AtStartAndAtEnd", kTitle + u" - " + kTitle, kTitle, false},
                      TitleCase{"EmptyTitle", u"", kTitle, false}, TitleCase{"EmptyText", kTitle, u"", false},
                      // A title is read into 261 characters: only the first 260 count.
                      TitleCase{"EndsAtCharacter260", x245 + kTitle + u" and more", kTitle, true},
                      TitleCase{"CutByTheLimit", x245 + u"xxxxx" + kTitle, kTitle, false},
                      TitleCase{"EndsAtItsTerminatingZero", kTitle + std::u16string(1, u'\0') + u"x", kTitle, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FensterMitTitelSuchen, NeverExaminesTheFirstWindowAndReadsThrough261Characters)
{
    RecordingWindowSystem ws;
    ws.titles = {kTitle, u"Editor", u"Terminal"};
    EXPECT_EQ(instance::FensterMitTitelSuchen(ws, kTitle), 0u);
    EXPECT_EQ(ws.log, (std::vector<std::string>{"GetWindowText(2,261)", "GetWindowText(3,261)"}));
}

TEST(FensterMitTitelSuchen, StopsAtTheFirstMatchInWalkOrder)
{
    RecordingWindowSystem ws;
    ws.titles = {u"Desktop", u"Editor", u"A " + kTitle, kTitle};
    EXPECT_EQ(instance::FensterMitTitelSuchen(ws, kTitle), 3u);
    EXPECT_EQ(ws.log.back(), "GetWindowText(3,261)");
    EXPECT_EQ(instance::FensterMitTitelSuchen(*std::make_unique<RecordingWindowSystem>(), kTitle), 0u);
}

// Windows that come and go while the walk runs: the next window of one that
// was destroyed meanwhile can lead back into windows already seen.
class CyclingDesktop final : public RecordingWindowSystem {
public:
    long steps = 0;
    instance::WindowHandle GetWindowNext(instance::WindowHandle w) override
    {
        // A safety stop for the test itself, far beyond any bound the walk may have.
        if (++steps > 10'000'000)
            return 0;
        return w == 3 ? 2 : w + 1;
    }
};

TEST(FensterMitTitelSuchen, WalkThatLeadsInACircleEndsAfterABoundedNumberOfWindows)
{
    CyclingDesktop ws;
    ws.titles = {u"Desktop", u"Editor", u"Terminal"};
    EXPECT_EQ(instance::FensterMitTitelSuchen(ws, kTitle), 0u);
    EXPECT_GE(ws.steps, instance::kWalkLimit) << "the order of the walk is kept until the bound";
    EXPECT_LE(ws.steps, instance::kWalkLimit + 1);
}

// A failed GetWindowTextW (0) may leave anything in the buffer: that window has no title.
class FailingTitles final : public RecordingWindowSystem {
public:
    int GetWindowTextW(instance::WindowHandle w, char16_t* buffer, int maxCount) override
    {
        if (w != 2)
            return RecordingWindowSystem::GetWindowTextW(w, buffer, maxCount);
        instance::CopyWindowText(u"Zarnolith V1.01", buffer, maxCount); // half done, then failed
        return 0;
    }
};

TEST(FensterMitTitelSuchen, WindowWhoseTitleCannotBeReadIsPassedOver)
{
    FailingTitles ws;
    ws.titles = {u"Desktop", u"Zarnolith V1.01", u"Editor", u"Zarnolith V1.01"};
    EXPECT_EQ(instance::FensterMitTitelSuchen(ws, kTitle), 4u);
}

} // namespace
