// UTF-8 and UTF-16 in both directions: the settings file reads strictly, the
// channel's window titles leniently, and both meet the same malformed input.
#include "platform/Utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8, WellFormedTextDecodesBothWaysAndRoundTrips)
{
    const std::pair<const char*, std::u16string> rows[] = {
        {"", u""},
        {"Bildh\xC3\xB6he \xE2\x80\x93 \xF0\x9F\x98\x80", u"Bildh\u00F6he \u2013 \U0001F600"},
        // The first and last code point of every sequence length.
        {"\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF", u"\u007F\u0080\u07FF\u0800\uFFFF"},
        {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", u"\U00010000\U0010FFFF"},
    };
    for (const auto& [utf8, utf16] : rows) {
        EXPECT_EQ(platform::Utf8ToUtf16(utf8), utf16) << utf8;
        EXPECT_EQ(platform::Utf8ToUtf16Strict(utf8), utf16) << utf8;
        EXPECT_EQ(platform::Utf16ToUtf8(utf16), utf8);
    }
}

TEST(Utf8, MalformedBytesBecomeReplacementsOrNothing)
{
    const std::pair<std::string, std::u16string> rows[] = {
        {"a\x80z\xC0\xAF\xED\xA0\x80\xC3", u"a\uFFFDz\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},                     // past U+10FFFF
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},                               // overlong
        {"x\xE2\x82", u"x\uFFFD\uFFFD"},                                       // cut off
        {"\xE2(\x82!", u"\uFFFD(\uFFFD!"},                                     // broken
        {"\xF8\x88\x80\x80\x80\xFF", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"}, // no lead byte
        {std::string("a\0b\xC3", 4), std::u16string(u"a\0b\uFFFD", 4)},
    };
    for (const auto& [utf8, lenient] : rows) {
        EXPECT_EQ(platform::Utf8ToUtf16(utf8), lenient) << utf8;
        EXPECT_EQ(platform::Utf8ToUtf16Strict(utf8), std::nullopt) << utf8;
    }
}

TEST(Utf8, LoneSurrogatesAreWrittenAsTheyStand)
{
    EXPECT_EQ(platform::Utf16ToUtf8(u"a\xD800"), "a\xED\xA0\x80");
    EXPECT_EQ(platform::Utf16ToUtf8(std::u16string{0xDC00, 0xD800}), "\xED\xB0\x80\xED\xA0\x80");
}

} // namespace
