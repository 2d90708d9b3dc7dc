// The shell start against Windows' own ShellExecuteW, with a program that
// records how it was started.
#include "platform/Shell.h"
#include "support/StandInProgram.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class WinShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(QDir().mkpath(programDirectory()));
        ASSERT_TRUE(QDir().mkpath(m_root.path() + "/records"));
        ASSERT_TRUE(QFile::copy(QCoreApplication::applicationDirPath() + "/start-recorder.exe", program()));
        qputenv("ZARNOLITH_RECORD_DIR", QDir::toNativeSeparators(records()).toUtf8());
    }
    void TearDown() override { qunsetenv("ZARNOLITH_RECORD_DIR"); }

    // Blanks and umlauts in every text, as under "C:\Program Files" and in user names.
    QString programDirectory() const { return m_root.path() + "/Programm Ordner ä"; }
    QString program() const { return QDir::toNativeSeparators(programDirectory() + "/Vellomat €.exe"); }
    QString records() const { return m_root.path() + "/records"; }

    static int start(const QString& file, const QString& parameters, const QString& directory)
    {
        return platform::Shell().ShellExecute(0, "open", file.toStdString(), parameters.toStdString(),
                                              directory.toStdString(), 1);
    }

    QTemporaryDir m_root;
};

TEST_F(WinShellTest, StartsTheProgramWithItsParametersInTheGivenDirectory)
{
    const QString directory = QDir::toNativeSeparators(programDirectory());
    EXPECT_GT(start(program(), "Qmt.cfg \"zwei W\u00F6rter\" \u00E4\u20AC", directory), 32);
    auto recorded = standin::WaitForRecords(records());
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].arguments, (QStringList{"Qmt.cfg", "zwei W\u00F6rter", "\u00E4\u20AC"}));
    EXPECT_EQ(recorded[0].workingDirectory, directory);

    // empty parameters and directory: no argument, and our own working directory
    standin::ClearRecords(records());
    EXPECT_GT(start(program(), "", ""), 32);
    recorded = standin::WaitForRecords(records());
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].arguments, QStringList());
    EXPECT_EQ(QDir(recorded[0].workingDirectory), QDir::current());
}

TEST_F(WinShellTest, MissingProgramIsReportedAsTheShellDoes)
{
    EXPECT_EQ(start(QDir::toNativeSeparators(programDirectory() + "/fehlt.exe"), "Qmt.cfg", ""),
              platform::ShellResult::FileNotFound);
    EXPECT_TRUE(standin::ReadRecords(records()).empty());
}

} // namespace
