#pragma once
// Module Haupt: the main window. Start width and height (read-only), the two
// new-value fields that compute each other, the button and menu command for
// new start values, and the status hint. Laid out from the display font.
#include "app/ShortCutToText.h"
#include "app/ZarnolithApplication.h"
#include "appearance/TFontDialog.h"
#include "help/HelpMenu.h"
#include "platform/Beep.h"
#include "platform/ScreenArea.h"
#include "ui/ColorValue.h"
#include "ui/TFont.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QScrollArea;
class QStatusBar;
class THintergrundForm;
class TSpinEdit;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // beep: what the number fields sound when they refuse a key; screenArea:
    // the display the window places itself on; errorBox: where an error of one
    // of its commands is shown; helpEnvironment: what the help commands use.
    explicit TForm1(QWidget* parent = nullptr, platform::IBeep& beep = platform::SystemBeep(),
                    const platform::IScreenArea& screenArea = platform::SystemScreenArea(),
                    IErrorBox& errorBox = ZarnolithApplication::StandardErrorBox(),
                    help::IHelpEnvironment& helpEnvironment = help::SystemHelpEnvironment());
    ~TForm1() override;

    // Controls, in the order of the window definition.
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    TSpinEdit* SpinEdit1 = nullptr;
    TSpinEdit* SpinEdit2 = nullptr;
    QPushButton* Button1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanel = nullptr; // panel 0 of StatusBar1

    QMenuBar* MainMenu1 = nullptr;
    QMenu* MenuDatei = nullptr;
    QAction* MenuDateiNeu = nullptr;
    QAction* MenuDateiBeenden = nullptr;
    QMenu* MenuAns = nullptr;
    QAction* MenuAnsSchriftart = nullptr;
    QAction* MenuAnsHintergrund = nullptr;
    QMenu* MenuHilfe = nullptr;
    QAction* MenuHilfeinfo = nullptr;
    QAction* MenuHilfeHomepage = nullptr;
    QAction* MenuHilfeUpdate = nullptr;
    QAction* MenuHilfeAenderungen = nullptr;
    QAction* MenuHilfeMail = nullptr;
    QAction* MenuHilfeSpenden = nullptr;

    QTimer* Timer1 = nullptr;

    // What the menu "&Hilfe" does; its surroundings can be replaced (tests).
    help::HelpMenu Help;

    // The font dialog; its font object is the display font AnzeigeSchrift.
    TFontDialog FontDialog1;
    TFont& FontDialog1Font = FontDialog1.Font;

    // The text-background dialog, owned by this window; made the first time
    // it is needed (it is rarely opened, and making it at start loads a list
    // view and a font of its own before the first window can show). Once it
    // exists, its list selection is HintergrundNr.
    THintergrundForm* HintergrundForm();
    // The active control when the font command started; SetActiveControl gives the focus back to it.
    QPointer<QWidget> MerkActiveControl;

    // Read: the selected colour entry. Write: select it (outside 0..18: entry 0),
    // take its colour as AnzeigeHintergrund and apply font and colour with a new
    // layout, even when the value is the current one.
    int HintergrundNr() const;
    void setHintergrundNr(int value);

    // true loads the display settings (and applies them through HintergrundNr), false saves them.
    void RegistryLadenSpeichern(bool LadenS);
    void SetActiveControl();
    // Tells the user, once, that the load found the settings file damaged
    // (a box naming the kept copy and the values not read). Does nothing
    // when there is nothing to tell.
    void ShowSettingsNotice();

    // Shortcut values (see ShortCutToText.h) of the two items that have one.
    static constexpr std::uint16_t ShortCutDateiNeu = shortcut::Make(shortcut::Ctrl, u'N');
    static constexpr std::uint16_t ShortCutDateiBeenden = shortcut::Make(shortcut::Alt, shortcut::KeyF1 + 3); // F4

    void CaptionZuweisen();
    void SchriftartZuweisen();
    void SchalterEinrichten();
    void FensterEinrichten();

    std::int32_t Startwert(int Index) const;
    std::int32_t Wert(int Index) const;
    void SpinEditChange(TSpinEdit* Sender);

    // The components SchriftartZuweisen walks, in definition order.
    std::vector<QObject*> Components() const;

    // Window messages from other programs (the instance channel), by number:
    // WM_BEENDEN performs "&Beenden", WM_AKTIVIEREN brings our windows forward.
    void Message(unsigned messageNumber);
    void WMBeenden();
    void WMAktivieren();

public slots:
    void MenuDateiNeuClick();
    void MenuDateiBeendenClick();
    void Timer1Timer();

    void MenuAnsSchriftartClick();
    void MenuAnsHintergrundClick();
    void MenuHilfeClick();
    void MenuHilfeinfoClick();
    void MenuHilfeHomepageClick();
    void MenuHilfeUpdateClick();
    void MenuHilfeAenderungenClick();
    void MenuHilfeMailClick();
    void MenuHilfeSpendenClick();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The first step of FormShow: loads the display settings and applies them
    // (through HintergrundNr once it exists). An error here ends FormShow.
    virtual void LoadDisplaySettings();

private:
    void createControls();
    void createMenu();
    void FormCreate();
    void FormShow();
    void attachSpinEditChange(TSpinEdit* field);
    // The layout without the placement: the controls, the client and, unless
    // the window is maximised, its fixed size.
    void layOutControls();
    // After a change of screen or scale: laid out again, kept in the work area.
    void screenChanged();

    THintergrundForm* m_hintergrundForm = nullptr; // see HintergrundForm()
    int m_hintergrundNr = 0;                       // HintergrundNr while the dialog does not exist
    QScrollArea* m_scroller = nullptr;             // the client: scrolls only when the work area is too small
    QWidget* m_client = nullptr;                   // the controls' area inside it
    bool m_hintergrundNrWritten = false;           // tells FormShow whether the load applied anything
    QString m_settingsNotice;                      // from the load, until shown
    bool m_positionRuleSpent = false;
    bool m_laidOutWhileMaximised = false; // placed by the layout once it is restored
    platform::IBeep& m_beep;
    const platform::IScreenArea& m_screenArea;
    IErrorBox& m_errorBox;
};

// The program-wide objects.
extern TForm1* Form1;
extern TFont* AnzeigeSchrift;         // the display font: FontDialog1's font object itself
extern ColorValue AnzeigeHintergrund; // the text-background colour
