#include "util/DateNameAdjustment.h"
#include "util/RegionalDateNames.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
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

INSTANTIATE_TEST_SUITE_P(Rows, ShortDayNames,
                         ::testing::Values(NameRow{u"So.", u"So"}, NameRow{u"Mo", u"Mo"}, NameRow{u"Di..", u"Di."},
                                           NameRow{u"", u""}, NameRow{u".", u""}, NameRow{u"D.i", u"D.i"}));

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

INSTANTIATE_TEST_SUITE_P(Rows, ShortMonthNames,
                         ::testing::Values(NameRow{u"JAN", u"J\u00E4n"}, NameRow{u"jan", u"J\u00E4n"},
                                           NameRow{u"Jan", u"J\u00E4n"}, NameRow{u"jAn", u"J\u00E4n"},
                                           NameRow{u"MRZ", u"M\u00E4r"}, NameRow{u"Mrz", u"M\u00E4r"},
                                           NameRow{u"mRz", u"M\u00E4r"}, NameRow{u"M\u00E4r", u"M\u00E4r"},
                                           NameRow{u"Feb", u"Feb"}, NameRow{u"Januar", u"Januar"},
                                           NameRow{u"Jan.", u"Jan."}, NameRow{u" Jan", u" Jan"}, NameRow{u"", u""}));

class LongMonthNames : public ::testing::TestWithParam<NameRow> {};

TEST_P(LongMonthNames, JanuarBecomesJaenner)
{
    util::RegionalDateNames names;
    names.LongMonthNames[1] = GetParam().name;
    util::MonatsnamenAnpassen(names);
    EXPECT_EQ(names.LongMonthNames[1], std::u16string(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, LongMonthNames,
                         ::testing::Values(NameRow{u"Januar", u"J\u00E4nner"}, NameRow{u"JANUAR", u"J\u00E4nner"},
                                           NameRow{u"januar", u"J\u00E4nner"}, NameRow{u"J\u00E4nner", u"J\u00E4nner"},
                                           NameRow{u"Jan", u"Jan"}, NameRow{u"January", u"January"}));

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

// Real locales, generated for the test with localedef (package locales) into
// a private directory that LOCPATH points to, so the system's list stays as it is.
class GeneratedLocales : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_oldLocpath = qgetenv("LOCPATH");
        m_oldLcAll = qgetenv("LC_ALL");
    }
    void TearDown() override
    {
        restore("LOCPATH", m_oldLocpath);
        restore("LC_ALL", m_oldLcAll);
    }

    // Generates `name` ("de_DE.UTF-8") from its source; an empty text when done, else why not.
    QString generate(const QString& name)
    {
        const QString source = name.section(QLatin1Char('.'), 0, 0);
        QProcess localedef;
        localedef.setProcessChannelMode(QProcess::MergedChannels);
        localedef.start(
            QStringLiteral("localedef"),
            {QStringLiteral("-i"), source, QStringLiteral("-f"), QStringLiteral("UTF-8"), m_dir.filePath(name)});
        if (!localedef.waitForFinished(60000))
            return QStringLiteral("localedef did not run: ") + localedef.errorString();
        // localedef may end with 1 over mere warnings; what counts is the time data written.
        if (!QFileInfo::exists(m_dir.filePath(name + QStringLiteral("/LC_TIME"))))
            return QString::fromLocal8Bit(localedef.readAll());
        qputenv("LOCPATH", QFile::encodeName(m_dir.path()));
        return {};
    }

private:
    static void restore(const char* name, const QByteArray& value)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }

    QTemporaryDir m_dir;
    QByteArray m_oldLocpath, m_oldLcAll;
};

struct LocaleRow {
    const char* name;
    std::u16string shortDay1, shortMonth1, shortMonth3, longMonth1; // as read
    std::u16string adjustedDay1, adjustedMonth1, adjustedLong1;     // after the start-up adjustment
};

// The start-up adjustment on the names as the C library gives them: German
// "Jan" and "Januar" take the Austrian forms, Austrian ones stay, French day
// names lose their full stop while "janv." is no match.
TEST_F(GeneratedLocales, DateNamesAreReadAndAdjusted)
{
    const LocaleRow rows[] = {
        {"de_DE.UTF-8", u"So", u"Jan", u"M\u00E4r", u"Januar", u"So", u"J\u00E4n", u"J\u00E4nner"},
        {"de_AT.UTF-8", u"So", u"J\u00E4n", u"M\u00E4r", u"J\u00E4nner", u"So", u"J\u00E4n", u"J\u00E4nner"},
        {"fr_FR.UTF-8", u"dim.", u"janv.", u"mars", u"janvier", u"dim", u"janv.", u"janvier"},
    };
    for (const LocaleRow& row : rows) {
        SCOPED_TRACE(row.name);
        const QString why = generate(QString::fromLatin1(row.name));
        if (!why.isEmpty())
            GTEST_SKIP() << "localedef could not generate " << row.name << " (package locales): " << why.toStdString();

        util::RegionalDateNames names = util::ReadRegionalDateNames(row.name);
        EXPECT_EQ(names.ShortDayNames[1], row.shortDay1);
        EXPECT_EQ(names.ShortMonthNames[1], row.shortMonth1);
        EXPECT_EQ(names.ShortMonthNames[3], row.shortMonth3);
        EXPECT_EQ(names.LongMonthNames[1], row.longMonth1);
        const util::RegionalDateNames read = names;

        util::TagesnamenAnpassen(names);
        util::MonatsnamenAnpassen(names);
        EXPECT_EQ(names.ShortDayNames[1], row.adjustedDay1);
        EXPECT_EQ(names.ShortMonthNames[1], row.adjustedMonth1);
        EXPECT_EQ(names.LongMonthNames[1], row.adjustedLong1);
        EXPECT_EQ(names.ShortMonthNames[3], row.shortMonth3) << "no \"MRZ\" here";
        for (int i = 2; i <= 12; ++i)
            EXPECT_EQ(names.LongMonthNames[i], read.LongMonthNames[i]) << "month " << i;
        for (int i = 1; i <= 7; ++i)
            EXPECT_FALSE(names.ShortDayNames[i].ends_with(u'.')) << "day " << i;
    }

    // The user's settings, as the program reads them at start.
    qputenv("LC_ALL", "de_DE.UTF-8");
    util::RegionalDateNames user = util::ReadRegionalDateNames("");
    util::MonatsnamenAnpassen(user);
    EXPECT_EQ(user.LongMonthNames[1], u"J\u00E4nner");
    EXPECT_EQ(user.ShortMonthNames[12], u"Dez");
}

} // namespace
