#include "help/HilfeMenue.h"

#include "help/HilfeAdressen.h"
#include "help/HistoryViewer.h"
#include "help/UpdateUebergabe.h"
#include "platform/HandOffFile.h"
#include "util/ProgrammPfad.h"
#include "util/ProgrammStarten.h"
#include "util/TempVerzeichnis.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QtGlobal>

namespace help {

namespace {

void nachrichtZeigen(QWidget* owner, QMessageBox::Icon icon, const QString& titel, const QString& text)
{
    QString zeilen = text;
    zeilen.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, titel, zeilen, QMessageBox::NoButton, owner);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool istDatei(const QString& pfad)
{
    const QFileInfo info(pfad);
    return info.exists() && info.isFile();
}

} // namespace

namespace {
class SystemUmgebung final : public IHilfeUmgebung {
public:
    QString ProgrammDatei() override { return m_programmDatei; }
    QString ProgrammVerzeichnis() override { return m_programmVerzeichnis; }
    QString TempVerzeichnis() override { return util::TempVerzeichnis(); }
    int ProgrammStarten(QWidget* owner, const QString& file, const QString& parameters, const QString& directory,
                        const QString& operation, int showCommand) override
    {
        return util::ProgrammStarten(owner, file, parameters, directory, operation, showCommand);
    }
    void InformationsBox(QWidget* owner, const QString& text) override
    {
        nachrichtZeigen(owner, QMessageBox::Information, QStringLiteral("Informationen"), text);
    }
    void FehlerBox(QWidget* owner, const QString& text) override
    {
        nachrichtZeigen(owner, QMessageBox::Critical, QStringLiteral("Fehler"), text);
    }

private:
    // Looked up once, as the program file does not move while it runs.
    const QString m_programmDatei = QString::fromStdString(util::ProgrammDatei());
    const QString m_programmVerzeichnis = QString::fromStdString(util::ProgrammVerzeichnis());
};
} // namespace

IHilfeUmgebung& SystemHilfeUmgebung()
{
    static SystemUmgebung umgebung;
    return umgebung;
}

HilfeMenue::HilfeMenue(IHilfeUmgebung& umgebung) : m_umgebung(umgebung) {}

HilfeMenueZustand HilfeMenue::Zustand() const
{
    return {istDatei(m_umgebung.ProgrammVerzeichnis() + kAenderungenDatei),
            istDatei(m_umgebung.ProgrammVerzeichnis() + kAktualisierungsProgramm)};
}

QString HilfeMenue::Entwicklungswerkzeug()
{
    QString compiler;
#if defined(__clang__)
    compiler = QStringLiteral("Clang ") + QString::fromLatin1(__clang_version__).trimmed();
#elif defined(__GNUC__)
    compiler = QStringLiteral("GCC ") + QString::fromLatin1(__VERSION__).trimmed();
#elif defined(_MSC_FULL_VER)
    compiler = QStringLiteral("MSVC ") + QString::number(_MSC_FULL_VER);
#else
    compiler = QStringLiteral("einem C++-Compiler");
#endif
    return QStringLiteral("Qt ") + QStringLiteral(QT_VERSION_STR) + QStringLiteral(" und ") + compiler;
}

QString HilfeMenue::InfoText()
{
    const QStringList format = {
        QStringLiteral("Anpassung von Bildpixel-Breite und -Höhe."),
        QStringLiteral("Copyright © 2026 Werkstatt Beispielhaus"),
        QStringLiteral("Kostenlos nutzbar, Weitergabe unverändert erlaubt."),
        QStringLiteral("Die Nutzung erfolgt ohne Gewähr."),
        QStringLiteral("Herausgeber: Werkstatt Beispielhaus"),
        QStringLiteral("Musterweg 1, 00000 Beispielstadt"),
        QStringLiteral("Verantwortlich für den Inhalt: der Herausgeber"),
        QStringLiteral("Internet: ") + kHomepage,
        QStringLiteral("E-Mail: ") + kMailAdresse,
        QStringLiteral("Fragen und Anregungen sind willkommen."),
        QStringLiteral("Spenden helfen bei der Weiterentwicklung."),
        QStringLiteral("Dieses Programm wurde mit %1 programmiert."),
    };
    return kProgrammTitel + QStringLiteral("\r\n") +
           format.join(QStringLiteral("\r\n")).arg(Entwicklungswerkzeug());
}

void HilfeMenue::InfoZeigen(QWidget* owner) const { m_umgebung.InformationsBox(owner, InfoText()); }

void HilfeMenue::AdresseOeffnen(QWidget* owner, const QString& adresse) const
{
    m_umgebung.ProgrammStarten(owner, adresse, QString(), QString(), QStringLiteral("open"), util::kShowNormal);
}

void HilfeMenue::HomepageOeffnen(QWidget* owner) const { AdresseOeffnen(owner, kHomepage); }

void HilfeMenue::MailSchreiben(QWidget* owner) const { AdresseOeffnen(owner, MailAufruf()); }

void HilfeMenue::SpendenOeffnen(QWidget* owner) const { AdresseOeffnen(owner, SpendenSeite()); }

HistoryViewer* HilfeMenue::AenderungenZeigen(QWidget* owner, const TFont& schrift, ColorValue hintergrund)
{
    if (!m_anzeige)
        m_anzeige = new HistoryViewer(m_umgebung.ProgrammVerzeichnis() + kAenderungenDatei, schrift, hintergrund, owner);
    m_anzeige->NachVorne();
    return m_anzeige;
}

bool HilfeMenue::Aktualisieren(QWidget* owner, const QString& fensterTitel, const TFont& schrift) const
{
    const QString pfad = m_umgebung.TempVerzeichnis() + kUebergabeDatei;
    const QByteArray bytes =
        UebergabeBytes(UebergabeZeilen(fensterTitel, m_umgebung.ProgrammDatei(), schrift.Size(), schrift.Name));
    const std::string nativerPfad = QFile::encodeName(pfad).toStdString();

    platform::ClearReadOnly(nativerPfad);
    if (platform::WriteOwnFile(nativerPfad, std::string_view(bytes.constData(), bytes.size())) != 0) {
        m_umgebung.FehlerBox(owner, UpdateFehlerText(QDir::toNativeSeparators(pfad)));
        return false;
    }
    // The updater finds the file by its bare name in the temporary directory.
    m_umgebung.ProgrammStarten(owner, m_umgebung.ProgrammVerzeichnis() + kAktualisierungsProgramm, kUebergabeDatei,
                               QString(), QStringLiteral("open"), util::kShowNormal);
    return true;
}

} // namespace help
