// The help commands of the real main window on Windows. The update command:
// the program's own path, the temporary directory as Windows names it, the
// system's ANSI code page and the real shell start an updater that records
// how it was started.
#include "app/TForm1.h"
#include "help/HistoryViewer.h"
#include "support/StandInProgram.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <windows.h>

namespace {

// The system's own surroundings; the shell starts are counted, the boxes
// recorded instead of shown.
class SystemButRecordedBoxes final : public help::IHelpEnvironment {
public:
    QString ProgramFile() override { return help::SystemHelpEnvironment().ProgramFile(); }
    QString ProgramDirectory() override { return help::SystemHelpEnvironment().ProgramDirectory(); }
    QString TempVerzeichnis(QString* failure) override
    {
        return help::SystemHelpEnvironment().TempVerzeichnis(failure);
    }
    int ProgrammStarten(QWidget* owner, const QString& file, const QString& parameters, const QString& directory,
                        const QString& operation, int showCommand) override
    {
        ++Starts;
        return help::SystemHelpEnvironment().ProgrammStarten(owner, file, parameters, directory, operation,
                                                             showCommand);
    }
    void ShowInformationBox(QWidget*, const QString& text) override { Boxes << text; }
    void ShowErrorBox(QWidget*, const QString& text) override { Boxes << text; }

    QStringList Boxes;
    int Starts = 0;
};

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// The updater, Vellomat.exe, lies beside the program, which here is this test.
class WinHelpMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_temp.isValid());
        ASSERT_TRUE(m_records.isValid());
        // GetTempPathW reads TMP first: a user name with an umlaut, as in "C:\Users\Jürgen".
        m_oldTmp = qEnvironmentVariable("TMP");
        ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", QDir::toNativeSeparators(m_temp.path()).toStdWString().c_str()));
        ASSERT_TRUE(SetEnvironmentVariableW(L"ZARNOLITH_RECORD_DIR",
                                            QDir::toNativeSeparators(m_records.path()).toStdWString().c_str()));
        m_form = std::make_unique<TForm1>(nullptr, platform::SystemBeep(), platform::SystemScreenArea(),
                                          ZarnolithApplication::StandardErrorBox(), m_environment);
        m_form->FontDialog1.Font.PixelsPerInch = 96;
    }
    void TearDown() override
    {
        m_form.reset();
        SetEnvironmentVariableW(L"TMP", m_oldTmp.isEmpty() ? nullptr : m_oldTmp.toStdWString().c_str());
    }
    QString handOffFile() const { return m_temp.path() + "/Qmt.cfg"; }

    // As the user chooses it: the menu opens (and looks for the files beside the program), then the item.
    void choose(QAction* item)
    {
        m_form->MenuHilfe->popup(QPoint(0, 0));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form->MenuHilfe));
        ASSERT_TRUE(item->isVisible() && item->isEnabled()) << item->text().toStdString();
        QTest::mouseClick(m_form->MenuHilfe, Qt::LeftButton, {}, m_form->MenuHilfe->actionGeometry(item).center());
    }
    void chooseUpdate() { choose(m_form->MenuHilfeUpdate); }

    QTemporaryDir m_temp{QDir::tempPath() + QStringLiteral("/J\u00FCrgen-XXXXXX")};
    QTemporaryDir m_records;
    QString m_oldTmp;
    SystemButRecordedBoxes m_environment;
    std::unique_ptr<TForm1> m_form;
};

// An earlier read-only file is replaced; the face name carries letters of
// code page 1252 and two it lacks; the updater gets the bare file name.
TEST_F(WinHelpMenuTest, WritesQmtCfgInTheAnsiCodePageAndStartsTheUpdater)
{
    {
        QFile earlier(handOffFile());
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("an earlier, longer hand-off file\r\n\r\n\r\n\r\n\r\n");
    }
    ASSERT_TRUE(
        SetFileAttributesW(QDir::toNativeSeparators(handOffFile()).toStdWString().c_str(), FILE_ATTRIBUTE_READONLY));
    AnzeigeSchrift->Name = QStringLiteral("Schrift \u00E4\u00F6\u00FC\u00DF \u20AC \u0100\u4E2D");
    AnzeigeSchrift->setSize(12);

    chooseUpdate();

    EXPECT_EQ(m_environment.Boxes, QStringList());
    // U+0100 as Windows' conversion gives it (its best-fit letter), not as "?".
    const std::string programFile = QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdString();
    EXPECT_EQ(readFile(handOffFile()).toStdString(),
              "Zarnolith V1.01\r\nZarnolith V1.01\r\n" + programFile
                  + "\r\nQmt\r\n12 Schrift \xE4\xF6\xFC\xDF \x80 A?\r\n");
    const auto records = standin::WaitForRecords(m_records.path());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments, QStringList{"Qmt.cfg"});
    EXPECT_EQ(QDir(records[0].workingDirectory), QDir::current()) << "no directory of its own is asked for";
}

// Windows names a temporary directory that does not exist as it is set.
TEST_F(WinHelpMenuTest, MissingTemporaryDirectoryIsNamedAndStartsNothing)
{
    const QString missing = QDir::toNativeSeparators(m_temp.path() + "/fehlt");
    ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", missing.toStdWString().c_str()));
    chooseUpdate();
    EXPECT_EQ(m_environment.Boxes,
              QStringList{"Es ist ein Fehler beim Aktualisieren aufgetreten!\r\nDie Datei \"" + missing
                          + "\\Qmt.cfg\" konnte nicht gespeichert werden."});
    EXPECT_EQ(m_environment.Starts, 0);
    EXPECT_FALSE(QFileInfo::exists(missing));
}

// For a TMP longer than 260 characters Windows names no temporary directory:
// the box says so with what Windows reported, and nothing is written, least
// of all into the current directory (usually the program's folder).
TEST_F(WinHelpMenuTest, TemporaryDirectoryLongerThanWindowsNamesIsReportedAndNothingIsWritten)
{
    QString longDir = QDir::toNativeSeparators(m_temp.path());
    while (longDir.size() <= 300)
        longDir += QStringLiteral("\\Unterordner");
    ASSERT_TRUE(QDir().mkpath(longDir));
    QTemporaryDir current;
    ASSERT_TRUE(current.isValid());
    const QString oldCurrent = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(current.path()));
    ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", longDir.toStdWString().c_str()));

    chooseUpdate();
    QDir::setCurrent(oldCurrent);

    ASSERT_EQ(m_environment.Boxes.size(), 1) << "no error box";
    const QStringList lines = m_environment.Boxes[0].split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3) << m_environment.Boxes[0].toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Es ist ein Fehler beim Aktualisieren aufgetreten!"));
    // Windows told the directory (it is too long), or nothing but the failure.
    static const QRegularExpression file(
        QStringLiteral("^Die Datei \"(.*\\\\)?Qmt\\.cfg\" konnte nicht gespeichert werden\\.$"));
    EXPECT_TRUE(file.match(lines[1]).hasMatch()) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Windows meldet: ")) && lines[2].size() > 16)
        << lines[2].toStdString();
    EXPECT_EQ(m_environment.Starts, 0);
    EXPECT_EQ(QDir(current.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
              QStringList());
    EXPECT_FALSE(QFileInfo::exists(longDir + QStringLiteral("\\Qmt.cfg")));
}

// No WordPad on current Windows: the program's own viewer, and nothing for the shell.
TEST_F(WinHelpMenuTest, ChangeHistoryShowsInTheProgramsOwnWindow)
{
    const QString history = QCoreApplication::applicationDirPath() + "/History.txt";
    {
        QFile file(history);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Version 1.01: \xC3\xA4nderungen\r\n");
    }
    choose(m_form->MenuHilfeAenderungen);
    QFile::remove(history);
    const auto viewers = m_form->findChildren<help::HistoryViewer*>();
    ASSERT_EQ(viewers.size(), 1);
    EXPECT_TRUE(viewers[0]->isVisible());
    EXPECT_EQ(viewers[0]->toPlainText(), QStringLiteral("Version 1.01: \u00E4nderungen\n"));
    EXPECT_EQ(m_environment.Starts, 0);
}

} // namespace
