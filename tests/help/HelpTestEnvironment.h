#pragma once
// A program directory and a temporary directory of the test's own, boxes that
// record instead of showing, and a recording desktop opener first on PATH.
#include "help/HelpMenu.h"
#include "support/StandInProgram.h"
#include "util/ProgrammStarten.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

class HelpTestEnvironment : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        QDir().mkpath(programDirectory());
        QDir().mkpath(tempDirectory());
        QDir().mkpath(m_root.path() + "/bin");
        ASSERT_TRUE(standin::WriteRecorder(m_root.path() + "/bin/xdg-open", openerRecords()));
        m_oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_root.path() + "/bin") + ":" + m_oldPath);
        m_temp = tempDirectory();
    }
    void TearDown() override { qputenv("PATH", m_oldPath); }

    // With a blank, as under "Program Files".
    QString programDirectory() const { return m_root.path() + "/Programm Ordner/"; }
    QString programFile() const { return programDirectory() + "zarnolith"; }
    QString tempDirectory() const { return m_root.path() + "/tmp/"; }
    QString openerRecords() const { return m_root.path() + "/opener"; }
    QString updaterRecords() const { return m_root.path() + "/updater"; }

    help::IHelpEnvironment& environment() { return m_environment; }

    void createUpdater() { ASSERT_TRUE(standin::WriteRecorder(programDirectory() + "Vellomat.exe", updaterRecords())); }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        f.write(bytes);
    }
    static QByteArray readFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    // The test's directories; the real shell start, counted (a start that must
    // not happen shows at once); boxes recorded.
    class Environment final : public help::IHelpEnvironment {
    public:
        explicit Environment(HelpTestEnvironment& t) : m_t(t) {}
        QString ProgramFile() override { return m_t.programFile(); }
        QString ProgramDirectory() override { return m_t.programDirectory(); }
        QString TempVerzeichnis(QString* failure) override
        {
            if (failure)
                *failure = m_t.m_tempFailure;
            return m_t.m_temp;
        }
        int ProgrammStarten(QWidget* owner, const QString& file, const QString& parameters, const QString& directory,
                            const QString& operation, int show) override
        {
            m_t.m_starts << QStringList{file, parameters, directory, operation, QString::number(show)};
            return util::ProgrammStarten(owner, file, parameters, directory, operation, show);
        }
        void ShowInformationBox(QWidget*, const QString& text) override { m_t.m_infos << text; }
        void ShowErrorBox(QWidget*, const QString& text) override { m_t.m_errors << text; }

    private:
        HelpTestEnvironment& m_t;
    };

    Environment m_environment{*this};
    QTemporaryDir m_root;
    QByteArray m_oldPath;
    QString m_temp;
    QString m_tempFailure; // what the system reported when it named no usable directory
    QStringList m_infos;
    QStringList m_errors;
    QList<QStringList> m_starts; // file, parameters, directory, operation, show command
};
