#include "util/KaufmannsUndEntfernen.h"

#include <gtest/gtest.h>

namespace {

struct CaptionRow {
    const char* caption;
    const char* expected;
};

class KaufmannsUndEntfernenTest : public ::testing::TestWithParam<CaptionRow> {};

TEST_P(KaufmannsUndEntfernenTest, RemovesEveryAmpersand)
{
    EXPECT_EQ(util::KaufmannsUndEntfernen(QString::fromUtf8(GetParam().caption)),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, KaufmannsUndEntfernenTest,
    ::testing::Values(CaptionRow{"O&K", "OK"}, CaptionRow{"&Abbrechen", "Abbrechen"}, CaptionRow{"&", ""},
                      CaptionRow{"Ende&", "Ende"}, CaptionRow{"&&", ""}, CaptionRow{"", ""},
                      CaptionRow{"Schrift", "Schrift"}, CaptionRow{"A&&B&C", "ABC"},
                      CaptionRow{"Programm-&\xC3\x84nderungen...", "Programm-\xC3\x84nderungen..."}));

} // namespace
