// Finding the running instance's main window by the end of its title.
#include "instance/FensterSuche.h"
#include "RecordingWindowSystem.h"

#include <gtest/gtest.h>

namespace {

const std::u16string kTitel = u"Zarnolith V1.01";

struct TitelFall {
    const char* name;
    std::u16string title;
    std::u16string text;
    bool matches;
};

std::u16string Fill(std::size_t n)
{
    return std::u16string(n, u'x');
}

class TitelRegel : public ::testing::TestWithParam<TitelFall> {};

// Each title is the only candidate behind a first window that the walk skips.
TEST_P(TitelRegel, FindsWindowOnlyWhenFirstOccurrenceEndsTheTitle)
{
    const TitelFall& f = GetParam();
    RecordingWindowSystem ws;
    ws.titles = {u"Desktop", f.title};
    EXPECT_EQ(instance::FensterMitTitelSuchen(ws, f.text), f.matches ? 2u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TitelRegel,
    ::testing::Values(
        TitelFall {"Equal", kTitel, kTitel, true},
        TitelFall {"Prefix", u"Info \u2013 " + kTitel, kTitel, true},
        TitelFall {"CharacterAfter", kTitel + u" ", kTitel, false},
        TitelFall {"OtherCase", u"zarnolith v1.01", kTitel, false},
        TitelFall {"UpperCase", u"ZARNOLITH V1.01", kTitel, false},
        TitelFall {"AtStartAndAtEnd", kTitel + u" - " + kTitel, kTitel, false},
        TitelFall {"EmptyTitle", u"", kTitel, false},
        TitelFall {"EmptyText", kTitel, u"", false},
        TitelFall {"TextLongerThanTitle", u"V1.01", kTitel, false},
        // Only the first 260 characters take part.
        TitelFall {"EndsExactlyAtCharacter260", Fill(245) + kTitel + u" and more", kTitel, true},
        TitelFall {"CutThroughByTheLimit", Fill(250) + kTitel, kTitel, false},
        TitelFall {"BeyondTheLimit", Fill(300) + kTitel, kTitel, false},
        TitelFall {"ExactlyAtLimitNoCut", Fill(245) + kTitel, kTitel, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FensterMitTitelSuchen, NeverExaminesTheFirstWindowOfTheWalk)
{
    RecordingWindowSystem ws;
    ws.titles = {kTitel, u"Editor", u"Terminal"};
    EXPECT_EQ(instance::FensterMitTitelSuchen(ws, kTitel), 0u);
    EXPECT_EQ(ws.log, (std::vector<std::string> {"FindWindow", "GetWindowText(2)", "GetWindowText(3)"}));
}

TEST(FensterMitTitelSuchen, ReturnsTheFirstMatchInWalkOrderAndStopsThere)
{
    RecordingWindowSystem ws;
    ws.titles = {u"Desktop", u"Editor", u"A " + kTitel, kTitel, u"Terminal"};
    EXPECT_EQ(instance::FensterMitTitelSuchen(ws, kTitel), 3u);
    EXPECT_EQ(ws.log.back(), "GetWindowText(3)");
}

TEST(FensterMitTitelSuchen, ReadsTitlesThroughA261CharacterBuffer)
{
    RecordingWindowSystem ws;
    ws.titles = {u"Desktop", u"Editor", u"Terminal"};
    instance::FensterMitTitelSuchen(ws, kTitel);
    EXPECT_EQ(ws.textBufferSizes, (std::vector<int> {261, 261}));
}

TEST(FensterMitTitelSuchen, NoWindowsAtAllGivesNoneWithoutWalking)
{
    RecordingWindowSystem ws;
    EXPECT_EQ(instance::FensterMitTitelSuchen(ws, kTitel), 0u);
    EXPECT_EQ(ws.log, (std::vector<std::string> {"FindWindow"}));
}

// A title with an embedded zero counts only up to it, as the buffer is read as a C string.
TEST(FensterMitTitelSuchen, TitleEndsAtItsTerminatingZero)
{
    RecordingWindowSystem ws;
    std::u16string title = kTitel;
    title.push_back(u'\0');
    title += u"tail";
    ws.titles = {u"Desktop", title};
    EXPECT_EQ(instance::FensterMitTitelSuchen(ws, kTitel), 2u);
}

} // namespace
