#include "util/Cp1252.h"
#include "util/ProgramPath.h"
#include "util/TempVerzeichnis.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Cp1252Row {
    const char16_t* text;
    QByteArray bytes;
};

class Cp1252Test : public ::testing::TestWithParam<Cp1252Row> {};

TEST_P(Cp1252Test, EncodesCharactersOfTheCodePageAndReplacesOthers)
{
    EXPECT_EQ(util::ToCp1252(QString::fromUtf16(GetParam().text)).toHex(' '), GetParam().bytes.toHex(' '));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Cp1252Test,
    ::testing::Values(Cp1252Row{u"Arial 14", "Arial 14"}, Cp1252Row{u"\u00E4\u00D6\u00DF\u00FF", "\xE4\xD6\xDF\xFF"},
                      Cp1252Row{u"\u20AC\u201E\u0178\u017E", "\x80\x84\x9F\x9E"},
                      Cp1252Row{u"\u0100\u4E2D", "??"},      // outside the code page
                      Cp1252Row{u"a\U0001F600b", "a?b"},     // one character beyond 16 bits, one "?"
                      Cp1252Row{u"\u0080\u0081", "?\x81"})); // 0x81 has no character but round-trips

TEST(Cp1252, EveryByteSurvivesTheRoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = util::FromCp1252(all);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0xE4], QChar(0x00E4));
    EXPECT_EQ(util::ToCp1252(text), all);
}

#ifndef _WIN32
// Linux's answers: TMPDIR, /proc/self/exe. Windows' own (GetTempPathW,
// GetModuleFileNameW) are tested against Wine with the platform's tests.
TEST(TempVerzeichnis, FollowsTmpdirAndEndsWithOneSeparator)
{
    const QByteArray saved = qgetenv("TMPDIR");
    const bool hadTmpdir = qEnvironmentVariableIsSet("TMPDIR");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    EXPECT_EQ(util::TempVerzeichnis(), dir.path() + "/");
    qputenv("TMPDIR", QFile::encodeName(dir.path() + "/"));
    EXPECT_EQ(util::TempVerzeichnis(), dir.path() + "/");
    // A directory that does not exist is still the one named, never "/".
    qputenv("TMPDIR", QFile::encodeName(dir.path() + "/fehlt"));
    EXPECT_EQ(util::TempVerzeichnis(), dir.path() + "/fehlt/");
    // A relative one counts from the current directory, existing or not.
    qputenv("TMPDIR", "fehlt/auch");
    EXPECT_EQ(util::TempVerzeichnis(), QDir::currentPath() + "/fehlt/auch/");
    qputenv("TMPDIR", "");
    EXPECT_EQ(util::TempVerzeichnis(), QStringLiteral("/tmp/"));
    qunsetenv("TMPDIR");
    EXPECT_EQ(util::TempVerzeichnis(), QStringLiteral("/tmp/"));

    if (hadTmpdir)
        qputenv("TMPDIR", saved);
}

TEST(ProgramPath, IsTheRunningExecutableAndItsDirectory)
{
    const std::string file = util::ProgramFile();
    EXPECT_EQ(QString::fromStdString(file), QCoreApplication::applicationFilePath());
    const std::string dir = util::ProgramDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_EQ(dir + QCoreApplication::applicationName().toStdString(), file);
}

// While a program runs, an update may replace or remove its file; the system
// then names it with " (deleted)" appended. Its path is still the one without.
struct ReplacedFileRow {
    const char* name;
    enum { Replaced, Removed, Untouched } whatHappens;
    const char* reported; // relative to the directory
};

class ProgramPathAfterUpdate : public ::testing::TestWithParam<ReplacedFileRow> {};

TEST_P(ProgramPathAfterUpdate, IsThePathTheFileHadAtTheStart)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/" + GetParam().name;
    ASSERT_TRUE(QFile::copy(PROGRAM_FILE_PROBE, path));
    QProcess probe;
    probe.start(path, {});
    ASSERT_TRUE(probe.waitForStarted(10000));
    if (GetParam().whatHappens == ReplacedFileRow::Replaced) {
        // As an update does it: the new file written aside, then renamed over the old one.
        ASSERT_TRUE(QFile::copy(PROGRAM_FILE_PROBE, path + ".new"));
        ASSERT_EQ(std::rename((path + ".new").toLocal8Bit().constData(), path.toLocal8Bit().constData()), 0);
    } else if (GetParam().whatHappens == ReplacedFileRow::Removed) {
        ASSERT_TRUE(QFile::remove(path));
    }
    probe.write("go\n");
    ASSERT_TRUE(probe.waitForFinished(10000));
    EXPECT_EQ(probe.exitCode(), 0);
    EXPECT_EQ(probe.readAllStandardOutput().trimmed().toStdString(),
              (dir.path() + "/" + GetParam().reported).toStdString());
}

INSTANTIATE_TEST_SUITE_P(Rows, ProgramPathAfterUpdate,
                         ::testing::Values(ReplacedFileRow{"zarnolith", ReplacedFileRow::Replaced, "zarnolith"},
                                           ReplacedFileRow{"zarnolith", ReplacedFileRow::Removed, "zarnolith"},
                                           // A name that really ends that way is left as it is.
                                           ReplacedFileRow{"zarnolith (deleted)", ReplacedFileRow::Untouched,
                                                           "zarnolith (deleted)"}));

#endif

} // namespace
