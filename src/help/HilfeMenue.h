#pragma once
// What the main window's menu "&Hilfe" does, apart from the menu itself:
// which items the files beside the program allow, the information box, the
// addresses handed to the shell, the change history and the update hand-off.
#include "ui/ColorValue.h"
#include "ui/TFont.h"

#include <QPointer>
#include <QString>
#include <functional>

class QWidget;

namespace help {

class HistoryViewer;

// The surroundings the help commands depend on; tests hand in their own.
class IHilfeUmgebung {
public:
    virtual ~IHilfeUmgebung() = default;
    virtual QString ProgrammDatei() = 0;       // full path of the program file
    virtual QString ProgrammVerzeichnis() = 0; // its directory, with the trailing separator
    virtual QString TempVerzeichnis() = 0;
    // The shell start (util::ProgrammStarten).
    virtual int ProgrammStarten(QWidget* owner, const QString& file, const QString& parameters,
                                const QString& directory, const QString& operation, int showCommand) = 0;
    // Modal message boxes: "Informationen" (information icon) and "Fehler" (error icon), each with "OK".
    virtual void InformationsBox(QWidget* owner, const QString& text) = 0;
    virtual void FehlerBox(QWidget* owner, const QString& text) = 0;
};

// The running program's own.
IHilfeUmgebung& SystemHilfeUmgebung();

struct HilfeMenueZustand {
    bool aenderungenAktiv = true;       // "Programm-&Änderungen...": History.txt is there
    bool aktualisierungSichtbar = true; // "Programm-&Aktualisierung...": Vellomat.exe is there
};

class HilfeMenue {
public:
    explicit HilfeMenue(IHilfeUmgebung& umgebung = SystemHilfeUmgebung());

    // Looked up each time the menu opens: files added or removed meanwhile count.
    HilfeMenueZustand Zustand() const;

    // Thirteen lines: the title, the purpose, ten lines of legal notice and
    // contact, the toolkit and compiler; joined by CR LF.
    static QString InfoText();
    // The toolkit and compiler this binary was built with, e.g. "Qt 6.4.2 und GCC 12.2.0".
    static QString Entwicklungswerkzeug();

    void InfoZeigen(QWidget* owner) const;
    void HomepageOeffnen(QWidget* owner) const;
    void MailSchreiben(QWidget* owner) const;
    void SpendenOeffnen(QWidget* owner) const;

    // Shows the change history; when it is already shown, that window comes
    // to the front instead of a second one.
    HistoryViewer* AenderungenZeigen(QWidget* owner, const TFont& schrift, ColorValue hintergrund);

    // Writes the hand-off file and starts the updater; on a write failure shows
    // the error box and starts nothing. Returns whether the file was written.
    bool Aktualisieren(QWidget* owner, const QString& fensterTitel, const TFont& schrift) const;

private:
    void AdresseOeffnen(QWidget* owner, const QString& adresse) const;

    IHilfeUmgebung& m_umgebung;
    QPointer<HistoryViewer> m_anzeige;
};

} // namespace help
