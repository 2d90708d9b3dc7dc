#include "util/DateNameAdjustment.h"
#include "util/RegionalDateNames.h"

#include <gtest/gtest.h>

namespace {

struct NameRow {
    const char16_t* name;
    const char16_t* expected;
};

void PrintTo(const NameRow& row, std::ostream* os) { *os << ::testing::PrintToString(std::u16string(row.name)); }

// Each row is put into every entry of its list, so all indexes are seen to be examined.
class ShortDayNames : public ::testing::TestWithParam<NameRow> {};

TEST_P(ShortDayNames, LoseOneTrailingFullStop)
{
    util::RegionalDateNames names;
    for (int i = 1; i <= 7; ++i)
        names.ShortDayNames[i] = GetParam().name;
    util::TagesnamenAnpassen(names);
    for (int i = 1; i <= 7; ++i)
        EXPECT_EQ(names.ShortDayNames[i], std::u16string(GetParam().expected)) << "index " << i;
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
        EXPECT_EQ(names.ShortMonthNames[i], std::u16string(GetParam().expected)) << "index " << i;
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
    EXPECT_EQ(names.LongMonthNames[1], std::u16string(GetParam().expected));
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
    EXPECT_EQ(names.LongMonthNames[1], u"Dezember");
    EXPECT_EQ(names.LongMonthNames[5], u"J\u00E4nner");
    EXPECT_EQ(names.LongMonthNames[12], u"Januar");
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
    EXPECT_EQ(names.ShortDayNames[1], u"Sun");
    EXPECT_EQ(names.ShortDayNames[7], u"Sat");
    EXPECT_EQ(names.ShortMonthNames[3], u"Mar");
    EXPECT_EQ(names.LongMonthNames[1], u"January");
    EXPECT_THROW(names.ShortDayNames[8], std::out_of_range);
    EXPECT_THROW(names.ShortMonthNames[0], std::out_of_range);
}

TEST(RegionalDateNames, UnknownLocaleFallsBackToC)
{
    const util::RegionalDateNames names = util::ReadRegionalDateNames("xx_NOWHERE.UTF-8");
    EXPECT_EQ(names.LongMonthNames[12], u"December");
}

} // namespace
