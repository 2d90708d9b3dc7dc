// The channel's wire format: requests, line splitting, the title answer, UTF-8.
#include "platform/ChannelProtocol.h"

#include <gtest/gtest.h>

namespace {

using platform::ChannelRequest;
using Kind = ChannelRequest::Kind;

struct RequestFall {
    const char* line;
    Kind kind;
    unsigned message;
};

class RequestTest : public ::testing::TestWithParam<RequestFall> {};

TEST_P(RequestTest, ParsesOnlyPlainDecimalNumbersAndTheTitleQuery)
{
    const ChannelRequest r = platform::ParseChannelRequest(GetParam().line);
    EXPECT_EQ(r.kind, GetParam().kind) << GetParam().line;
    if (r.kind == Kind::Message) {
        EXPECT_EQ(r.message, GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, RequestTest,
                         ::testing::Values(RequestFall {"1224", Kind::Message, 1224},
                                           RequestFall {"1124\r", Kind::Message, 1124},
                                           RequestFall {"0", Kind::Message, 0},
                                           RequestFall {"?", Kind::TitleQuery, 0},
                                           RequestFall {"", Kind::Unknown, 0},
                                           RequestFall {" 1224", Kind::Unknown, 0},
                                           RequestFall {"+1224", Kind::Unknown, 0},
                                           RequestFall {"-1", Kind::Unknown, 0},
                                           RequestFall {"0x4C8", Kind::Unknown, 0},
                                           RequestFall {"1224 0", Kind::Unknown, 0},
                                           RequestFall {"99999999999", Kind::Unknown, 0},
                                           RequestFall {"??", Kind::Unknown, 0}));

TEST(LineReader, JoinsPiecesAndSplitsLines)
{
    platform::LineReader r(8);
    EXPECT_TRUE(r.Feed("12"));
    EXPECT_FALSE(r.NextLine().has_value());
    EXPECT_TRUE(r.Feed("24\n?\n11"));
    EXPECT_EQ(r.NextLine(), "1224");
    EXPECT_EQ(r.NextLine(), "?");
    EXPECT_FALSE(r.NextLine().has_value());
    EXPECT_TRUE(r.Feed("24\n"));
    EXPECT_EQ(r.NextLine(), "1124");
}

TEST(LineReader, RefusesOverlongLinesWhetherEndedOrNot)
{
    platform::LineReader pending(8);
    EXPECT_TRUE(pending.Feed("12345678"));
    EXPECT_FALSE(pending.Feed("9"));

    platform::LineReader ended(8);
    EXPECT_FALSE(ended.Feed("1\n123456789\n2\n"));
}

TEST(TitleList, RoundTripKeepsOrderAndTurnsLineBreaksIntoBlanks)
{
    const std::vector<std::string> titles {"Zarnolith V1.01", "", "Bildpixel-Startwerte", "zwei\nZeilen\r"};
    const std::string wire = platform::EncodeTitleList(titles);
    bool complete = false;
    const auto decoded = platform::DecodeTitleList(wire, complete);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_TRUE(complete);
    EXPECT_EQ(*decoded, (std::vector<std::string> {"Zarnolith V1.01", "", "Bildpixel-Startwerte", "zwei Zeilen "}));
}

TEST(TitleList, IncompleteAnswerWaitsMalformedOneEnds)
{
    const std::string wire = platform::EncodeTitleList({"Zarnolith V1.01", "Info"});
    for (std::size_t cut = 0; cut < wire.size(); ++cut) {
        bool complete = true;
        EXPECT_FALSE(platform::DecodeTitleList(wire.substr(0, cut), complete).has_value()) << cut;
        EXPECT_FALSE(complete) << cut;
    }
    for (const char* bad : {"x\n", "\n", "-1\n", "100000\n", "123456789"}) {
        bool complete = false;
        EXPECT_FALSE(platform::DecodeTitleList(bad, complete).has_value()) << bad;
        EXPECT_TRUE(complete) << bad;
    }
}

struct Utf8Fall {
    const char* name;
    std::string utf8;
    std::u16string utf16;
};

class Utf8Test : public ::testing::TestWithParam<Utf8Fall> {};

TEST_P(Utf8Test, Decodes)
{
    EXPECT_EQ(platform::Utf8ToUtf16(GetParam().utf8), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Utf8Test,
    ::testing::Values(Utf8Fall {"Ascii", "Zarnolith V1.01", u"Zarnolith V1.01"},
                      Utf8Fall {"Umlaut", "Bildh\xC3\xB6he", u"Bildh\u00F6he"},
                      Utf8Fall {"ThreeBytes", "\xE2\x80\x93", u"\u2013"},
                      Utf8Fall {"OutsideBasicPlane", "\xF0\x9F\x98\x80", u"\U0001F600"},
                      Utf8Fall {"LoneContinuation", "a\x80z", u"a\uFFFDz"},
                      Utf8Fall {"CutSequence", "a\xC3", u"a\uFFFD"},
                      Utf8Fall {"Overlong", "\xC0\xAF", u"\uFFFD\uFFFD"},
                      Utf8Fall {"Surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
