#include "util/DateNameAdjustment.h"
#include "util/RegionalDateNames.h"

#include <gtest/gtest.h>

namespace {

struct NameRow {
    const char16_t* name;
    const char16_t* expected;
};

std::string Utf8(const std::u16string& s)
{
    std::string out;
    for (char16_t c : s) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

void PrintTo(const NameRow& row, std::ostream* os) { *os << '"' << Utf8(row.name) << '"'; }

// Each row is put into every entry of its list, so all indexes are seen to be examined.
class ShortDayNames : public ::testing::TestWithParam<NameRow> {};

TEST_P(ShortDayNames, LoseOneTrailingFullStop)
{
    util::RegionalDateNames names;
    for (int i = 1; i <= 7; ++i)
        names.ShortDayNames[i] = GetParam().name;
    util::TagesnamenAnpassen(names);
    for (int i = 1; i <= 7; ++i)
        EXPECT_EQ(Utf8(names.ShortDayNames[i]), Utf8(GetParam().expected)) << "index " << i;
}

INSTANTIATE_TEST_SUITE_P(Rows, ShortDayNames, ::testing::Values(
    NameRow{u"So.", u"So"}, NameRow{u"Mo", u"Mo"}, NameRow{u"Di..", u"Di."}, NameRow{u"", u""},
    NameRow{u".", u""}, NameRow{u"D.i", u"D.i"}));

class ShortMonthNames : public ::testing::TestWithParam<NameRow> {};

TEST_P(ShortMonthNames, BecomeJaenAndMaerOnlyOnAnExactMatch)
{
    util::RegionalDateNames names;
    for (int i = 1; i <= 12; ++i)
        names.ShortMonthNames[i] = GetParam().name;
    util::MonatsnamenAnpassen(names);
    for (int i = 1; i <= 12; ++i)
        EXPECT_EQ(Utf8(names.ShortMonthNames[i]), Utf8(GetParam().expected)) << "index " << i;
}

INSTANTIATE_TEST_SUITE_P(Rows, ShortMonthNames, ::testing::Values(
    NameRow{u"JAN", u"J\u00E4n"}, NameRow{u"jan", u"J\u00E4n"}, NameRow{u"Jan", u"J\u00E4n"},
    NameRow{u"jAn", u"J\u00E4n"}, NameRow{u"MRZ", u"M\u00E4r"}, NameRow{u"Mrz", u"M\u00E4r"},
    NameRow{u"mRz", u"M\u00E4r"}, NameRow{u"M\u00E4r", u"M\u00E4r"}, NameRow{u"Feb", u"Feb"},
    NameRow{u"Januar", u"Januar"}, NameRow{u"Jan.", u"Jan."}, NameRow{u" Jan", u" Jan"}, NameRow{u"", u""}));

class LongMonthNames : public ::testing::TestWithParam<NameRow> {};

TEST_P(LongMonthNames, JanuarBecomesJaenner)
{
    util::RegionalDateNames names;
    names.LongMonthNames[1] = GetParam().name;
    util::MonatsnamenAnpassen(names);
    EXPECT_EQ(Utf8(names.LongMonthNames[1]), Utf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, LongMonthNames, ::testing::Values(
    NameRow{u"Januar", u"J\u00E4nner"}, NameRow{u"JANUAR", u"J\u00E4nner"}, NameRow{u"januar", u"J\u00E4nner"},
    NameRow{u"J\u00E4nner", u"J\u00E4nner"}, NameRow{u"Jan", u"Jan"}, NameRow{u"January", u"January"}));

TEST(LongMonthNames, OnlyTheFirstMatchChanges)
{
    util::RegionalDateNames names;
    names.LongMonthNames[1] = u"Dezember";
    names.LongMonthNames[5] = u"januar";
    names.LongMonthNames[12] = u"Januar";
    util::MonatsnamenAnpassen(names);
    EXPECT_EQ(Utf8(names.LongMonthNames[1]), "Dezember");
    EXPECT_EQ(Utf8(names.LongMonthNames[5]), "J\xC3\xA4nner");
    EXPECT_EQ(Utf8(names.LongMonthNames[12]), "Januar");
}

TEST(RegionalDateNames, CLocaleGivesAllNamesWithSundayFirst)
{
    const util::RegionalDateNames names = util::ReadRegionalDateNames("C");
    for (int i = 1; i <= 7; ++i)
        EXPECT_FALSE(names.ShortDayNames[i].empty()) << "day " << i;
    for (int i = 1; i <= 12; ++i) {
        EXPECT_FALSE(names.ShortMonthNames[i].empty()) << "month " << i;
        EXPECT_FALSE(names.LongMonthNames[i].empty()) << "month " << i;
    }
    EXPECT_EQ(Utf8(names.ShortDayNames[1]), "Sun");
    EXPECT_EQ(Utf8(names.ShortDayNames[7]), "Sat");
    EXPECT_EQ(Utf8(names.ShortMonthNames[3]), "Mar");
    EXPECT_EQ(Utf8(names.LongMonthNames[1]), "January");
    EXPECT_THROW(names.ShortDayNames[8], std::out_of_range);
    EXPECT_THROW(names.ShortMonthNames[0], std::out_of_range);
}

TEST(RegionalDateNames, UnknownLocaleFallsBackToC)
{
    const util::RegionalDateNames names = util::ReadRegionalDateNames("xx_NOWHERE.UTF-8");
    EXPECT_EQ(Utf8(names.LongMonthNames[12]), "December");
}

} // namespace
