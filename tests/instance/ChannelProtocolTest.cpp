// The channel's wire format: requests and the title answer.
#include "instance/ChannelProtocol.h"

#include <gtest/gtest.h>

namespace {

using Kind = instance::ChannelRequest::Kind;

TEST(ChannelProtocol, OnlyPlainDecimalNumbersAndTheQuestionMarkAreRequests)
{
    const std::tuple<const char*, Kind, unsigned> rows[]
        = {{"1224", Kind::Message, 1224}, {"1124\r", Kind::Message, 1124}, {"?", Kind::TitleQuery, 0},
           {"", Kind::Unknown, 0},        {" 1224", Kind::Unknown, 0},     {"-1", Kind::Unknown, 0},
           {"0x4C8", Kind::Unknown, 0},   {"1224 0", Kind::Unknown, 0},    {"99999999999", Kind::Unknown, 0}};
    for (const auto& [line, kind, message] : rows) {
        const auto r = instance::ParseChannelRequest(line);
        EXPECT_EQ(r.kind, kind) << line;
        EXPECT_EQ(r.message, message) << line;
    }
}

TEST(ChannelProtocol, TitleAnswerRoundTripsAndWaitsForTheWholeAnswer)
{
    const std::string wire = instance::EncodeTitleList({"Zarnolith V1.01", "", "zwei\nZeilen"});
    bool complete = false;
    EXPECT_EQ(instance::DecodeTitleList(wire, complete),
              (std::vector<std::string>{"Zarnolith V1.01", "", "zwei Zeilen"}));
    for (std::size_t cut = 0; cut < wire.size(); ++cut) {
        EXPECT_FALSE(instance::DecodeTitleList(wire.substr(0, cut), complete).has_value()) << cut;
        EXPECT_FALSE(complete) << cut;
    }
    for (const char* bad : {"x\n", "\n", "100000\n", "123456789"}) {
        EXPECT_FALSE(instance::DecodeTitleList(bad, complete).has_value()) << bad;
        EXPECT_TRUE(complete) << bad;
    }
}

TEST(ChannelProtocol, OverlongLinesBreakTheStream)
{
    instance::LineReader r(8);
    EXPECT_TRUE(r.Feed("12"));
    EXPECT_TRUE(r.Feed("24\n?\n"));
    EXPECT_EQ(r.NextLine(), "1224");
    EXPECT_EQ(r.NextLine(), "?");
    EXPECT_FALSE(r.NextLine().has_value());
    EXPECT_FALSE(r.Feed("123456789"));
    instance::LineReader ended(8);
    EXPECT_FALSE(ended.Feed("1\n123456789\n2\n"));
}

} // namespace
