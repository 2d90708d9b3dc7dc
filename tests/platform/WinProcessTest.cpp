// The process's own questions and the user's regional settings, answered by
// Windows itself (Wine's kernel32 and user32): the program file from a folder
// whose name is not ASCII, the temporary directory from TMP and TEMP, the
// date names of a given locale and the upper-casing of the month names.
#include "platform/Process.h"
#include "platform/UserLocale.h"
#include "util/DateNameAdjustment.h"
#include "util/ProgramPath.h"
#include "util/RegionalDateNames.h"
#include "util/TempVerzeichnis.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

namespace {

std::wstring Wide(const QString& text) { return text.toStdWString(); }

// Sets or removes an environment variable of this process for the lifetime of
// the object, as GetTempPathW reads it.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, std::optional<QString> value) : m_name(name)
    {
        wchar_t buf[32768];
        const DWORD n = ::GetEnvironmentVariableW(name, buf, 32768);
        if (n > 0 && n < 32768)
            m_old = std::wstring(buf, n);
        ::SetEnvironmentVariableW(name, value ? Wide(*value).c_str() : nullptr);
    }
    ~ScopedVariable() { ::SetEnvironmentVariableW(m_name, m_old ? m_old->c_str() : nullptr); }

private:
    const wchar_t* m_name;
    std::optional<std::wstring> m_old;
};

TEST(WinProgramPath, CopiedIntoAFolderWithUmlautsTheProgramNamesItsOwnFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + QStringLiteral("/Pr\u00F6gramm \u00D6rdner \u20AC");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("/zarnolith.exe");
    ASSERT_TRUE(QFile::copy(QStringLiteral(PROGRAM_FILE_PROBE), program));

    QProcess probe;
    probe.start(program, {});
    ASSERT_TRUE(probe.waitForStarted(60000)) << probe.errorString().toStdString();
    probe.write("go\n");
    ASSERT_TRUE(probe.waitForFinished(60000));
    EXPECT_EQ(probe.exitCode(), 0);
    // The whole path in UTF-8, with the system's separators.
    EXPECT_EQ(QString::fromUtf8(probe.readAllStandardOutput()).trimmed(), QDir::toNativeSeparators(program));
}

TEST(WinProgramPath, DirectoryIsThatOfTheProgramFileWithItsBackslash)
{
    const QString file = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    EXPECT_EQ(QString::fromStdString(platform::ExecutableFile()), file);
    const std::string dir = util::ProgramDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '\\');
    EXPECT_EQ(QString::fromStdString(dir) + QFileInfo(file).fileName(), file);
}

// GetTempPathW takes TMP, else TEMP; the directory is the one named, with the
// backslash the system adds. One longer than 260 characters it does not name
// at all, and then no stale buffer may pass for a directory.
TEST(WinTempDirectory, FollowsTmpThenTempWholeAndWithItsBackslash)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString tmp = QDir::toNativeSeparators(dir.path() + QStringLiteral("/T\u00E4mp"));
    const QString temp = QDir::toNativeSeparators(dir.path() + QStringLiteral("/Temp \u20AC"));
    QString longDir = QDir::toNativeSeparators(dir.path());
    while (longDir.size() <= 300)
        longDir += QStringLiteral("\\Unterordner");
    for (const QString& d : {tmp, temp, longDir})
        ASSERT_TRUE(QDir().mkpath(d));

    struct Case {
        const char* description;
        std::optional<QString> tmp, temp;
        QString expected;
    };
    const Case cases[] = {
        {"TMP first", tmp, temp, tmp + '\\'},
        {"TEMP without TMP", std::nullopt, temp, temp + '\\'},
        {"already with its backslash", tmp + '\\', std::nullopt, tmp + '\\'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        const ScopedVariable tmpVariable(L"TMP", c.tmp);
        const ScopedVariable tempVariable(L"TEMP", c.temp);
        EXPECT_EQ(QString::fromStdString(platform::TemporaryDirectory()), c.expected);
        EXPECT_EQ(util::TempVerzeichnis(), c.expected) << "taken as the system names it";
    }
    const ScopedVariable tmpVariable(L"TMP", longDir);
    EXPECT_EQ(platform::TemporaryDirectory(), "");
}

TEST(WinUserLocale, DateNamesOfTheNamedLocaleSundayFirst)
{
    const platform::LocaleDateNames de = platform::ReadDateNames("de-DE");
    EXPECT_EQ(de.shortMonthNames[0], u"Jan");
    EXPECT_EQ(de.shortMonthNames[2], u"M\u00E4r");
    EXPECT_EQ(de.shortMonthNames[11], u"Dez");
    EXPECT_EQ(de.longMonthNames[0], u"Januar");
    EXPECT_EQ(de.longMonthNames[2], u"M\u00E4rz");
    EXPECT_EQ(de.longMonthNames[11], u"Dezember");
    // Windows counts from Monday; the names here start with Sunday.
    EXPECT_TRUE(de.shortDayNames[0].starts_with(u"So"));
    EXPECT_TRUE(de.shortDayNames[1].starts_with(u"Mo"));
    EXPECT_TRUE(de.shortDayNames[6].starts_with(u"Sa"));

    // A name the system does not know gives the invariant locale's names.
    const platform::LocaleDateNames unknown = platform::ReadDateNames("xx-Nirgendwo");
    EXPECT_EQ(unknown.longMonthNames[0], u"January");
    EXPECT_EQ(unknown.shortDayNames[0], u"Sun");
}

// The start-up adjustment on the names as Windows gives them (Wine's German
// short day names end with a full stop): German "Jan" and "Januar" take the
// Austrian forms, Austrian ones stay, day names lose their full stop while
// "janv." is no match.
TEST(WinUserLocale, DateNamesOfWindowsAreAdjustedAtStart)
{
    struct Row {
        const char* name;
        std::u16string shortDay1, shortMonth1, longMonth1;          // as Windows gives them
        std::u16string adjustedDay1, adjustedMonth1, adjustedLong1; // after the adjustment
    };
    const Row rows[] = {
        {"de-DE", u"So.", u"Jan", u"Januar", u"So", u"J\u00E4n", u"J\u00E4nner"},
        {"de-AT", u"So.", u"J\u00E4n", u"J\u00E4nner", u"So", u"J\u00E4n", u"J\u00E4nner"},
        {"fr-FR", u"dim.", u"janv.", u"janvier", u"dim", u"janv.", u"janvier"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        util::RegionalDateNames names = util::ReadRegionalDateNames(row.name);
        EXPECT_EQ(names.ShortDayNames[1], row.shortDay1);
        EXPECT_EQ(names.ShortMonthNames[1], row.shortMonth1);
        EXPECT_EQ(names.LongMonthNames[1], row.longMonth1);
        util::TagesnamenAnpassen(names);
        util::MonatsnamenAnpassen(names);
        EXPECT_EQ(names.ShortDayNames[1], row.adjustedDay1);
        EXPECT_EQ(names.ShortMonthNames[1], row.adjustedMonth1);
        EXPECT_EQ(names.LongMonthNames[1], row.adjustedLong1);
    }
}

TEST(WinUserLocale, UpperCasingTakesUmlautsAlong)
{
    EXPECT_EQ(platform::UpperCaseForUser(u"j\u00E4nner"), u"J\u00C4NNER");
    EXPECT_EQ(platform::UpperCaseForUser(u"Mrz"), u"MRZ");
    EXPECT_EQ(platform::UpperCaseForUser(u""), u"");
}

} // namespace
