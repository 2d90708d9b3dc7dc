#include "HelpTestEnvironment.h"

#include "util/TempVerzeichnis.h"

#include <QDateTime>
#include <QFileInfo>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using help::HelpMenu;

namespace {

TFont fontWith(const QString& name, int points)
{
    TFont f(96);
    f.Name = name;
    f.setSize(points);
    return f;
}

struct HandOffRow {
    const char16_t* windowTitleText;
    const char16_t* fontName;
    int points;
    QByteArray line2;
    QByteArray line5;
};

class UpdateHandOffTest : public HelpTestEnvironment, public ::testing::WithParamInterface<HandOffRow> {
protected:
    QString handOffPath() const { return tempDirectory() + "Qmt.cfg"; }
    QByteArray expectedBytes(const QByteArray& line2, const QByteArray& line5) const
    {
        return "Zarnolith V1.01\r\n" + line2 + "\r\n" + QFile::encodeName(programFile()) + "\r\nQmt\r\n" + line5
            + "\r\n";
    }
    QString errorText() const
    {
        return QStringLiteral("Es ist ein Fehler beim Aktualisieren aufgetreten!\r\nDie Datei \"") + handOffPath()
            + QStringLiteral("\" konnte nicht gespeichert werden.");
    }
    bool startUpdate()
    {
        return HelpMenu(environment()).StartUpdate(nullptr, "Zarnolith V1.01", fontWith("Arial", 14));
    }
    // The exact start request for the updater.
    QStringList updaterStart() const { return {programDirectory() + "Vellomat.exe", "Qmt.cfg", "", "open", "1"}; }
};

TEST_P(UpdateHandOffTest, WritesTheFiveLinesAndStartsTheUpdaterWithTheBareName)
{
    createUpdater();
    const auto& row = GetParam();
    ASSERT_TRUE(HelpMenu(environment())
                    .StartUpdate(nullptr, QString::fromUtf16(row.windowTitleText),
                                 fontWith(QString::fromUtf16(row.fontName), row.points)));
    EXPECT_EQ(readFile(handOffPath()), expectedBytes(row.line2, row.line5));
    EXPECT_TRUE(m_errors.isEmpty());

    EXPECT_EQ(m_starts, QList<QStringList>{updaterStart()});
    const auto records = standin::WaitForRecords(updaterRecords());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments, QStringList{"Qmt.cfg"});
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UpdateHandOffTest,
    ::testing::Values(HandOffRow{u"Zarnolith V1.01", u"Arial", 14, "Zarnolith V1.01", "14 Arial"},
                      HandOffRow{u"Zarnolith V1.01", u"Courier New", 12, "Zarnolith V1.01", "12 Courier New"},
                      // the window title as it stands; characters outside code page 1252 become "?"
                      HandOffRow{u"Titel \u20AC", u"Schrift \u00E4 \u0100\u4E2D", 10, "Titel \x80",
                                 "10 Schrift \xE4 ??"},
                      // line breaks in a hand-edited face name: still five lines, each break one blank
                      HandOffRow{u"Zarnolith V1.01", u"Zwei\r\nZeilen\rund\n\nmehr", 14, "Zarnolith V1.01",
                                 "14 Zwei Zeilen und  mehr"}));

TEST_F(UpdateHandOffTest, RunningTwiceRewritesTheFileAndStartsTwice)
{
    createUpdater();
    HelpMenu helpMenu(environment());
    ASSERT_TRUE(helpMenu.StartUpdate(nullptr, "Zarnolith V1.01", fontWith("Courier New", 12)));
    ASSERT_TRUE(helpMenu.StartUpdate(nullptr, "Zarnolith V1.01", fontWith("Arial", 14)));
    EXPECT_EQ(readFile(handOffPath()), expectedBytes("Zarnolith V1.01", "14 Arial"));
    EXPECT_EQ(m_starts, (QList<QStringList>{updaterStart(), updaterStart()}));
    EXPECT_EQ(standin::WaitForRecords(updaterRecords(), 2).size(), 2u);
}

TEST_F(UpdateHandOffTest, EarlierReadOnlyFileIsOverwritten)
{
    createUpdater();
    writeFile(handOffPath(), "an earlier, longer hand-off file\r\n\r\n\r\n");
    ASSERT_EQ(chmod(QFile::encodeName(handOffPath()).constData(), 0444), 0);
    ASSERT_TRUE(startUpdate());
    EXPECT_TRUE(m_errors.isEmpty());
    EXPECT_EQ(readFile(handOffPath()), expectedBytes("Zarnolith V1.01", "14 Arial"));
    EXPECT_TRUE(QFileInfo(handOffPath()).permissions() & QFile::WriteOwner);
    EXPECT_EQ(standin::WaitForRecords(updaterRecords()).size(), 1u);
}

TEST_F(UpdateHandOffTest, MissingTemporaryDirectoryIsReportedAndStartsNothing)
{
    createUpdater();
    QDir(tempDirectory()).removeRecursively();
    EXPECT_FALSE(startUpdate());
    EXPECT_EQ(m_errors, QStringList{errorText()});
    EXPECT_TRUE(m_starts.isEmpty());
}

// The system named no usable temporary directory (Windows: GetTempPathW
// failed, or named one longer than 260 characters): the box names the file
// and what the system reported; nothing is written, least of all into the
// current directory, which a bare file name would mean.
TEST_F(UpdateHandOffTest, TemporaryDirectoryTheSystemCannotNameIsReportedAndNothingIsWritten)
{
    createUpdater();
    const QString oldDirectory = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_root.path()));
    m_temp.clear();
    m_tempFailure = QStringLiteral("Windows meldet: Der Dateiname oder die Erweiterung ist zu lang.");
    const bool started = startUpdate();
    const bool writtenHere = QFileInfo::exists(m_root.path() + "/Qmt.cfg");
    QDir::setCurrent(oldDirectory);
    EXPECT_FALSE(started);
    EXPECT_FALSE(writtenHere);
    EXPECT_EQ(m_errors,
              QStringList{"Es ist ein Fehler beim Aktualisieren aufgetreten!\r\nDie Datei \"Qmt.cfg\" konnte "
                          "nicht gespeichert werden.\r\nWindows meldet: Der Dateiname oder die Erweiterung "
                          "ist zu lang."});
    EXPECT_TRUE(m_starts.isEmpty());
}

#ifndef _WIN32
// Linux's own ways to the file: TMPDIR, symbolic links and file owners. (On
// Windows the temporary directory comes from GetTempPathW and a planted file
// is the platform's hand-off file test.)

// The whole command with the temporary directory as the system names it: an
// unusable TMPDIR is named in the box and nothing lands anywhere else.
TEST_F(UpdateHandOffTest, TmpdirMissingOrRelativeIsNamedAndNothingIsWrittenElsewhere)
{
    createUpdater();
    const QByteArray oldTmpdir = qgetenv("TMPDIR");
    const bool hadTmpdir = qEnvironmentVariableIsSet("TMPDIR");
    const QString oldDirectory = QDir::currentPath();
    const QString workDir = m_root.path() + "/arbeit";
    ASSERT_TRUE(QDir().mkpath(workDir + "/da"));
    ASSERT_TRUE(QDir::setCurrent(workDir));
    const QFileInfo rootFile(QStringLiteral("/Qmt.cfg"));
    const QDateTime rootBefore = rootFile.exists() ? rootFile.lastModified() : QDateTime();

    struct Case {
        QByteArray tmpdir;
        QString directory; // the directory the box or the file must name
        bool written;
    };
    const Case cases[] = {{QFile::encodeName(workDir + "/fehlt"), workDir + "/fehlt", false},
                          {"fehlt/auch", workDir + "/fehlt/auch", false},
                          {"da", workDir + "/da", true}};
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.tmpdir.toStdString());
        qputenv("TMPDIR", testCase.tmpdir);
        m_errors.clear();
        m_starts.clear();
        m_temp = util::TempVerzeichnis(); // the real one, from TMPDIR
        const QString path = testCase.directory + "/Qmt.cfg";
        EXPECT_EQ(HelpMenu(environment()).StartUpdate(nullptr, "Zarnolith V1.01", fontWith("Arial", 14)),
                  testCase.written);
        if (testCase.written) {
            EXPECT_TRUE(m_errors.isEmpty());
            EXPECT_EQ(readFile(path), expectedBytes("Zarnolith V1.01", "14 Arial"));
            EXPECT_EQ(m_starts, QList<QStringList>{updaterStart()});
        } else {
            EXPECT_EQ(m_errors,
                      QStringList{QStringLiteral("Es ist ein Fehler beim Aktualisieren aufgetreten!\r\n"
                                                 "Die Datei \"")
                                  + path + QStringLiteral("\" konnte nicht gespeichert werden.")});
            EXPECT_TRUE(m_starts.isEmpty());
        }
    }
    EXPECT_EQ(QDir(workDir).entryList(QDir::Files), QStringList()) << "nothing in the current directory";
    const QFileInfo rootAfter(QStringLiteral("/Qmt.cfg"));
    EXPECT_EQ(rootAfter.exists() ? rootAfter.lastModified() : QDateTime(), rootBefore) << "nothing written at /Qmt.cfg";

    QDir::setCurrent(oldDirectory);
    if (hadTmpdir)
        qputenv("TMPDIR", oldTmpdir);
    else
        qunsetenv("TMPDIR");
    EXPECT_EQ(standin::WaitForRecords(updaterRecords()).size(), 1u) << "only the usable directory starts the updater";
}

TEST_F(UpdateHandOffTest, PlantedLinkIsNotFollowed)
{
    createUpdater();
    const QString target = m_root.path() + "/fremdes Ziel";
    writeFile(target, "precious");
    ASSERT_TRUE(QFile::link(target, handOffPath()));
    EXPECT_FALSE(startUpdate());
    EXPECT_EQ(m_errors, QStringList{errorText()});
    EXPECT_EQ(readFile(target), "precious");
    EXPECT_TRUE(QFileInfo(handOffPath()).isSymLink());
    EXPECT_TRUE(m_starts.isEmpty());
}

TEST_F(UpdateHandOffTest, FileOfAnotherUserIsNotWritten)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "handing a file to another user needs root";
    createUpdater();
    writeFile(handOffPath(), "theirs");
    ASSERT_EQ(chown(QFile::encodeName(handOffPath()).constData(), 65534, 65534), 0);
    EXPECT_FALSE(startUpdate());
    EXPECT_EQ(m_errors, QStringList{errorText()});
    EXPECT_EQ(readFile(handOffPath()), "theirs");
    EXPECT_TRUE(m_starts.isEmpty());
}
#endif

TEST_F(UpdateHandOffTest, RemovedUpdaterStillWritesAndReportsNothing)
{
    EXPECT_TRUE(startUpdate());
    EXPECT_TRUE(m_errors.isEmpty());
    EXPECT_EQ(readFile(handOffPath()), expectedBytes("Zarnolith V1.01", "14 Arial"));
    EXPECT_EQ(m_starts, QList<QStringList>{updaterStart()}) << "the start is still asked for";
}

} // namespace
