#include "util/Cp1252.h"
#include "util/ProgrammPfad.h"
#include "util/TempVerzeichnis.h"

#include <QCoreApplication>
#include <QDir>
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
    EXPECT_EQ(util::NachCp1252(QString::fromUtf16(GetParam().text)).toHex(' '), GetParam().bytes.toHex(' '));
}

INSTANTIATE_TEST_SUITE_P(Rows, Cp1252Test, ::testing::Values(
    Cp1252Row{u"Arial 14", "Arial 14"}, Cp1252Row{u"\u00E4\u00D6\u00DF\u00FF", "\xE4\xD6\xDF\xFF"},
    Cp1252Row{u"\u20AC\u201E\u0178\u017E", "\x80\x84\x9F\x9E"},
    Cp1252Row{u"\u0100\u4E2D", "??"},                  // outside the code page
    Cp1252Row{u"a\U0001F600b", "a?b"},                  // one character beyond 16 bits, one "?"
    Cp1252Row{u"\u0080\u0081", "?\x81"}));             // 0x81 has no character but round-trips

TEST(Cp1252, EveryByteSurvivesTheRoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = util::VonCp1252(all);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0xE4], QChar(0x00E4));
    EXPECT_EQ(util::NachCp1252(text), all);
}

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

TEST(ProgrammPfad, IsTheRunningExecutableAndItsDirectory)
{
    const std::string file = util::ProgrammDatei();
    EXPECT_EQ(QString::fromStdString(file), QCoreApplication::applicationFilePath());
    const std::string dir = util::ProgrammVerzeichnis();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_EQ(dir + QCoreApplication::applicationName().toStdString(), file);
}


} // namespace
