#pragma once
// A program directory and a temporary directory of the test's own, boxes that
// record instead of showing, and a recording desktop opener first on PATH.
#include "help/HilfeMenue.h"
#include "support/StandInProgram.h"
#include "util/ProgrammStarten.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

class HilfeTestUmgebung : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        QDir().mkpath(programmVerzeichnis());
        QDir().mkpath(tempVerzeichnis());
        QDir().mkpath(m_root.path() + "/bin");
        ASSERT_TRUE(standin::WriteRecorder(m_root.path() + "/bin/xdg-open", openerRecords()));
        m_oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_root.path() + "/bin") + ":" + m_oldPath);
        m_temp = tempVerzeichnis();
    }
    void TearDown() override { qputenv("PATH", m_oldPath); }

    // With a blank, as under "Program Files".
    QString programmVerzeichnis() const { return m_root.path() + "/Programm Ordner/"; }
    QString programmDatei() const { return programmVerzeichnis() + "zarnolith"; }
    QString tempVerzeichnis() const { return m_root.path() + "/tmp/"; }
    QString openerRecords() const { return m_root.path() + "/opener"; }
    QString updaterRecords() const { return m_root.path() + "/updater"; }

    help::IHilfeUmgebung& umgebung() { return m_umgebung; }

    void updaterAnlegen() { ASSERT_TRUE(standin::WriteRecorder(programmVerzeichnis() + "Vellomat.exe", updaterRecords())); }

    static void dateiSchreiben(const QString& pfad, const QByteArray& bytes)
    {
        QFile f(pfad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << pfad.toStdString();
        f.write(bytes);
    }
    static QByteArray dateiLesen(const QString& pfad)
    {
        QFile f(pfad);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    // The test's directories; the real shell start, counted (a start that must
    // not happen shows at once); boxes recorded.
    class Umgebung final : public help::IHilfeUmgebung {
    public:
        explicit Umgebung(HilfeTestUmgebung& t) : m_t(t) {}
        QString ProgrammDatei() override { return m_t.programmDatei(); }
        QString ProgrammVerzeichnis() override { return m_t.programmVerzeichnis(); }
        QString TempVerzeichnis() override { return m_t.m_temp; }
        int ProgrammStarten(QWidget* owner, const QString& file, const QString& parameters, const QString& directory,
                            const QString& operation, int show) override
        {
            m_t.m_starts << QStringList{file, parameters, directory, operation, QString::number(show)};
            return util::ProgrammStarten(owner, file, parameters, directory, operation, show);
        }
        void InformationsBox(QWidget*, const QString& text) override { m_t.m_infos << text; }
        void FehlerBox(QWidget*, const QString& text) override { m_t.m_fehler << text; }

    private:
        HilfeTestUmgebung& m_t;
    };

    Umgebung m_umgebung{*this};
    QTemporaryDir m_root;
    QByteArray m_oldPath;
    QString m_temp;
    QStringList m_infos;
    QStringList m_fehler;
    QList<QStringList> m_starts; // file, parameters, directory, operation, show command
};
