#include "HilfeTestUmgebung.h"

#include "util/TempVerzeichnis.h"

#include <QDateTime>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

using help::HilfeMenue;

namespace {

TFont schriftMit(const QString& name, int punkte)
{
    TFont::setPixelsPerInchOverride(96);
    TFont f;
    f.Name = name;
    f.setSize(punkte);
    return f;
}

struct UebergabeRow {
    const char16_t* fensterTitel;
    const char16_t* schriftName;
    int punkte;
    QByteArray zeile2;
    QByteArray zeile5;
};

class UpdateUebergabeTest : public HilfeTestUmgebung, public ::testing::WithParamInterface<UebergabeRow> {
protected:
    void TearDown() override
    {
        TFont::setPixelsPerInchOverride(0);
        HilfeTestUmgebung::TearDown();
    }
    QString uebergabePfad() const { return tempVerzeichnis() + "Qmt.cfg"; }
    QByteArray erwarteteBytes(const QByteArray& zeile2, const QByteArray& zeile5) const
    {
        return "Zarnolith V1.01\r\n" + zeile2 + "\r\n" + QFile::encodeName(programmDatei()) + "\r\nQmt\r\n" + zeile5 +
               "\r\n";
    }
    QString fehlerText() const
    {
        return QStringLiteral("Es ist ein Fehler beim Aktualisieren aufgetreten!\r\nDie Datei \"") + uebergabePfad() +
               QStringLiteral("\" konnte nicht gespeichert werden.");
    }
    bool aktualisieren()
    {
        return HilfeMenue(umgebung()).Aktualisieren(nullptr, "Zarnolith V1.01", schriftMit("Arial", 14));
    }
    // The exact start request for the updater.
    QStringList updaterStart() const
    {
        return {programmVerzeichnis() + "Vellomat.exe", "Qmt.cfg", "", "open", "1"};
    }
};

TEST_P(UpdateUebergabeTest, WritesTheFiveLinesAndStartsTheUpdaterWithTheBareName)
{
    updaterAnlegen();
    const auto& row = GetParam();
    ASSERT_TRUE(HilfeMenue(umgebung()).Aktualisieren(nullptr, QString::fromUtf16(row.fensterTitel),
                                                     schriftMit(QString::fromUtf16(row.schriftName), row.punkte)));
    EXPECT_EQ(dateiLesen(uebergabePfad()), erwarteteBytes(row.zeile2, row.zeile5));
    EXPECT_TRUE(m_fehler.isEmpty());

    EXPECT_EQ(m_starts, QList<QStringList>{updaterStart()});
    const auto records = standin::WaitForRecords(updaterRecords());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments, QStringList{"Qmt.cfg"});
}

INSTANTIATE_TEST_SUITE_P(Rows, UpdateUebergabeTest, ::testing::Values(
    UebergabeRow{u"Zarnolith V1.01", u"Arial", 14, "Zarnolith V1.01", "14 Arial"},
    UebergabeRow{u"Zarnolith V1.01", u"Courier New", 12, "Zarnolith V1.01", "12 Courier New"},
    // the window title as it stands; characters outside code page 1252 become "?"
    UebergabeRow{u"Titel \u20AC", u"Schrift \u00E4 \u0100\u4E2D", 10, "Titel \x80", "10 Schrift \xE4 ??"},
    // line breaks in a hand-edited face name: still five lines, each break one blank
    UebergabeRow{u"Zarnolith V1.01", u"Zwei\r\nZeilen\rund\n\nmehr", 14, "Zarnolith V1.01",
                 "14 Zwei Zeilen und  mehr"}));

TEST_F(UpdateUebergabeTest, RunningTwiceRewritesTheFileAndStartsTwice)
{
    updaterAnlegen();
    HilfeMenue menue(umgebung());
    ASSERT_TRUE(menue.Aktualisieren(nullptr, "Zarnolith V1.01", schriftMit("Courier New", 12)));
    ASSERT_TRUE(menue.Aktualisieren(nullptr, "Zarnolith V1.01", schriftMit("Arial", 14)));
    EXPECT_EQ(dateiLesen(uebergabePfad()), erwarteteBytes("Zarnolith V1.01", "14 Arial"));
    EXPECT_EQ(m_starts, (QList<QStringList>{updaterStart(), updaterStart()}));
    EXPECT_EQ(standin::WaitForRecords(updaterRecords(), 2).size(), 2u);
}

TEST_F(UpdateUebergabeTest, EarlierReadOnlyFileIsOverwritten)
{
    updaterAnlegen();
    dateiSchreiben(uebergabePfad(), "an earlier, longer hand-off file\r\n\r\n\r\n");
    ASSERT_EQ(chmod(QFile::encodeName(uebergabePfad()).constData(), 0444), 0);
    ASSERT_TRUE(aktualisieren());
    EXPECT_TRUE(m_fehler.isEmpty());
    EXPECT_EQ(dateiLesen(uebergabePfad()), erwarteteBytes("Zarnolith V1.01", "14 Arial"));
    EXPECT_TRUE(QFileInfo(uebergabePfad()).permissions() & QFile::WriteOwner);
    EXPECT_EQ(standin::WaitForRecords(updaterRecords()).size(), 1u);
}

TEST_F(UpdateUebergabeTest, MissingTemporaryDirectoryIsReportedAndStartsNothing)
{
    updaterAnlegen();
    QDir(tempVerzeichnis()).removeRecursively();
    EXPECT_FALSE(aktualisieren());
    EXPECT_EQ(m_fehler, QStringList{fehlerText()});
    EXPECT_TRUE(m_starts.isEmpty());
}

// The whole command with the temporary directory as the system names it: an
// unusable TMPDIR is named in the box and nothing lands anywhere else.
TEST_F(UpdateUebergabeTest, TmpdirMissingOrRelativeIsNamedAndNothingIsWrittenElsewhere)
{
    updaterAnlegen();
    const QByteArray alterTmpdir = qgetenv("TMPDIR");
    const bool hatteTmpdir = qEnvironmentVariableIsSet("TMPDIR");
    const QString altesVerzeichnis = QDir::currentPath();
    const QString arbeit = m_root.path() + "/arbeit";
    ASSERT_TRUE(QDir().mkpath(arbeit + "/da"));
    ASSERT_TRUE(QDir::setCurrent(arbeit));
    const QFileInfo wurzelDatei(QStringLiteral("/Qmt.cfg"));
    const QDateTime wurzelVorher = wurzelDatei.exists() ? wurzelDatei.lastModified() : QDateTime();

    struct Fall {
        QByteArray tmpdir;
        QString ordner; // the directory the box or the file must name
        bool geschrieben;
    };
    const Fall faelle[] = {{QFile::encodeName(arbeit + "/fehlt"), arbeit + "/fehlt", false},
                           {"fehlt/auch", arbeit + "/fehlt/auch", false},
                           {"da", arbeit + "/da", true}};
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.tmpdir.toStdString());
        qputenv("TMPDIR", fall.tmpdir);
        m_fehler.clear();
        m_starts.clear();
        m_temp = util::TempVerzeichnis(); // the real one, from TMPDIR
        const QString pfad = fall.ordner + "/Qmt.cfg";
        EXPECT_EQ(HilfeMenue(umgebung()).Aktualisieren(nullptr, "Zarnolith V1.01", schriftMit("Arial", 14)), fall.geschrieben);
        if (fall.geschrieben) {
            EXPECT_TRUE(m_fehler.isEmpty());
            EXPECT_EQ(dateiLesen(pfad), erwarteteBytes("Zarnolith V1.01", "14 Arial"));
            EXPECT_EQ(m_starts, QList<QStringList>{updaterStart()});
        } else {
            EXPECT_EQ(m_fehler, QStringList{QStringLiteral("Es ist ein Fehler beim Aktualisieren aufgetreten!\r\n"
                                                           "Die Datei \"") + pfad +
                                            QStringLiteral("\" konnte nicht gespeichert werden.")});
            EXPECT_TRUE(m_starts.isEmpty());
        }
    }
    EXPECT_EQ(QDir(arbeit).entryList(QDir::Files), QStringList()) << "nothing in the current directory";
    const QFileInfo wurzelNachher(QStringLiteral("/Qmt.cfg"));
    EXPECT_EQ(wurzelNachher.exists() ? wurzelNachher.lastModified() : QDateTime(), wurzelVorher)
        << "nothing written at /Qmt.cfg";

    QDir::setCurrent(altesVerzeichnis);
    if (hatteTmpdir)
        qputenv("TMPDIR", alterTmpdir);
    else
        qunsetenv("TMPDIR");
    EXPECT_EQ(standin::WaitForRecords(updaterRecords()).size(), 1u) << "only the usable directory starts the updater";
}

TEST_F(UpdateUebergabeTest, PlantedLinkIsNotFollowed)
{
    updaterAnlegen();
    const QString ziel = m_root.path() + "/fremdes Ziel";
    dateiSchreiben(ziel, "precious");
    ASSERT_TRUE(QFile::link(ziel, uebergabePfad()));
    EXPECT_FALSE(aktualisieren());
    EXPECT_EQ(m_fehler, QStringList{fehlerText()});
    EXPECT_EQ(dateiLesen(ziel), "precious");
    EXPECT_TRUE(QFileInfo(uebergabePfad()).isSymLink());
    EXPECT_TRUE(m_starts.isEmpty());
}

TEST_F(UpdateUebergabeTest, FileOfAnotherUserIsNotWritten)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "handing a file to another user needs root";
    updaterAnlegen();
    dateiSchreiben(uebergabePfad(), "theirs");
    ASSERT_EQ(chown(QFile::encodeName(uebergabePfad()).constData(), 65534, 65534), 0);
    EXPECT_FALSE(aktualisieren());
    EXPECT_EQ(m_fehler, QStringList{fehlerText()});
    EXPECT_EQ(dateiLesen(uebergabePfad()), "theirs");
    EXPECT_TRUE(m_starts.isEmpty());
}

TEST_F(UpdateUebergabeTest, RemovedUpdaterStillWritesAndReportsNothing)
{
    EXPECT_TRUE(aktualisieren());
    EXPECT_TRUE(m_fehler.isEmpty());
    EXPECT_EQ(dateiLesen(uebergabePfad()), erwarteteBytes("Zarnolith V1.01", "14 Arial"));
    EXPECT_EQ(m_starts, QList<QStringList>{updaterStart()}) << "the start is still asked for";
}

} // namespace
