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

class TitelRegel : public ::testing::TestWithParam<TitelFall> {};

// Each title is the only candidate behind a first window that the walk skips.
TEST_P(TitelRegel, MatchesOnlyWhenTheFirstOccurrenceEndsTheTitle)
{
    RecordingWindowSystem ws;
    ws.titles = {u"Desktop", GetParam().title};
    EXPECT_EQ(instance::FensterMitTitelSuchen(ws, GetParam().text), GetParam().matches ? 2u : 0u);
}

const std::u16string x245(245, u'x');

INSTANTIATE_TEST_SUITE_P(
    Rows, TitelRegel,
    ::testing::Values(TitelFall {"Equal", kTitel, kTitel, true},
                      TitelFall {"Prefix", u"Info \u2013 " + kTitel, kTitel, true},
                      TitelFall {"CharacterAfter", kTitel + u" ", kTitel, false},
                      TitelFall {"OtherCase", u"zarnolith V1.01", kTitel, false},
                      TitelFall {"AtStartAndAtEnd", kTitel + u" - " + kTitel, kTitel, false},
                      TitelFall {"EmptyTitle", u"", kTitel, false},
                      TitelFall {"EmptyText", kTitel, u"", false},
                      // A title is read into 261 characters: only the first 260 count.
                      TitelFall {"EndsAtCharacter260", x245 + kTitel + u" and more", kTitel, true},
                      TitelFall {"CutByTheLimit", x245 + u"xxxxx" + kTitel, kTitel, false},
                      TitelFall {"EndsAtItsTerminatingZero", kTitel + std::u16string(1, u'\0') + u"x", kTitel, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FensterMitTitelSuchen, NeverExaminesTheFirstWindowAndReadsThrough261Characters)
{
    RecordingWindowSystem ws;
    ws.titles = {kTitel, u"Editor", u"Terminal"};
    EXPECT_EQ(instance::FensterMitTitelSuchen(ws, kTitel), 0u);
    EXPECT_EQ(ws.log, (std::vector<std::string> {"GetWindowText(2,261)", "GetWindowText(3,261)"}));
}

TEST(FensterMitTitelSuchen, StopsAtTheFirstMatchInWalkOrder)
{
    RecordingWindowSystem ws;
    ws.titles = {u"Desktop", u"Editor", u"A " + kTitel, kTitel};
    EXPECT_EQ(instance::FensterMitTitelSuchen(ws, kTitel), 3u);
    EXPECT_EQ(ws.log.back(), "GetWindowText(3,261)");
    EXPECT_EQ(instance::FensterMitTitelSuchen(*std::make_unique<RecordingWindowSystem>(), kTitel), 0u);
}

} // namespace
