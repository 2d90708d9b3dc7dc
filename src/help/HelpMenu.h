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
class IHelpEnvironment {
public:
    virtual ~IHelpEnvironment() = default;
    virtual QString ProgramFile() = 0;      // full path of the program file
    virtual QString ProgramDirectory() = 0; // its directory, with the trailing separator
    // util::TempVerzeichnis: failure gets what the system reported when it names no usable directory.
    virtual QString TempVerzeichnis(QString* failure) = 0;
    // The shell start (util::ProgrammStarten).
    virtual int ProgrammStarten(QWidget* owner, const QString& file, const QString& parameters,
                                const QString& directory, const QString& operation, int showCommand)
        = 0;
    // Modal message boxes: "Informationen" (information icon) and "Fehler" (error icon), each with "OK".
    virtual void ShowInformationBox(QWidget* owner, const QString& text) = 0;
    virtual void ShowErrorBox(QWidget* owner, const QString& text) = 0;
};

// The running program's own.
IHelpEnvironment& SystemHelpEnvironment();

struct HelpMenuState {
    bool changesEnabled = true; // "Programm-&Änderungen...": History.txt is there
    bool updateVisible = true;  // "Programm-&Aktualisierung...": Vellomat.exe is there
};

class HelpMenu {
public:
    explicit HelpMenu(IHelpEnvironment& environment = SystemHelpEnvironment());

    // Looked up each time the menu opens: files added or removed meanwhile count.
    HelpMenuState State() const;

    // Thirteen lines: the title, the purpose, ten lines of legal notice and
    // contact, the toolkit and compiler; joined by CR LF.
    static QString InfoText();
    // The toolkit and compiler this binary was built with, e.g. "Qt 6.4.2 und GCC 12.2.0".
    static QString DevelopmentTool();

    void ShowInfo(QWidget* owner) const;
    void OpenHomepage(QWidget* owner) const;
    void WriteMail(QWidget* owner) const;
    void OpenDonations(QWidget* owner) const;

    // Shows the change history; when it is already shown, that window comes
    // to the front instead of a second one.
    HistoryViewer* ShowChanges(QWidget* owner, const TFont& displayFont, ColorValue background);

    // Writes the hand-off file and starts the updater; on a write failure shows
    // the error box and starts nothing. Returns whether the file was written.
    bool StartUpdate(QWidget* owner, const QString& windowTitleText, const TFont& displayFont) const;

private:
    void OpenAddress(QWidget* owner, const QString& address) const;

    IHelpEnvironment& m_environment;
    QPointer<HistoryViewer> m_viewer;
};

} // namespace help
