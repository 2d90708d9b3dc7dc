#pragma once
// Module Pixel: the modal dialog for the start width and height of an image.
// Laid out from the display font; Enter confirms and Esc cancels in the fields;
// the fields offer no context menu and take no Ctrl+V.
#include "app/ShortCutToText.h"
#include "platform/Beep.h"
#include "platform/ScreenArea.h"
#include "util/ModalResult.h"

#include <QDialog>
#include <cstdint>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;
class TSpinEdit;

class TPixelForm : public QDialog {
    Q_OBJECT
public:
    using enum util::ModalResult;
    // Shortcut value of PopupEinfuegen (16470).
    static constexpr std::uint16_t ShortCutEinfuegen = shortcut::Make(shortcut::Ctrl, u'V');

    // beep: what the number fields sound when they refuse a key; screenArea:
    // the display the window places itself on.
    explicit TPixelForm(QWidget* parent = nullptr, platform::IBeep& beep = platform::SystemBeep(),
                        const platform::IScreenArea& screenArea = platform::SystemScreenArea());
    ~TPixelForm() override;

    // Controls, in the order of the window definition.
    QLabel* Label1 = nullptr;
    TSpinEdit* SpinEdit1 = nullptr;
    QLabel* Label2 = nullptr;
    TSpinEdit* SpinEdit2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* PopupEinfuegen = nullptr;

    void CaptionZuweisen();
    void SchriftartZuweisen();
    void SchalterEinrichten();
    void FensterEinrichten();

    void SpinEdit1KeyDown(TSpinEdit* Sender, std::uint16_t& Key, Qt::KeyboardModifiers Shift);
    void SpinEdit1KeyPress(TSpinEdit* Sender, char16_t& Key);

    // Ends the modal showing with that result (1 OK, 2 Cancel).
    void setModalResult(int result);

    std::vector<QObject*> Components() const;

public slots:
    void accept() override; // OK: result 1
    void reject() override; // Cancel, Esc, close box, Alt+F4: result 2

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    // The layout without the placement.
    void layOutControls();

    bool m_positionRuleSpent = false;
    QScrollArea* m_scroller = nullptr; // the client: scrolls only when the work area is too small
    QWidget* m_content = nullptr;      // the controls' area inside it
    platform::IBeep& m_beep;
    const platform::IScreenArea& m_screenArea;
};

extern TPixelForm* PixelForm;
