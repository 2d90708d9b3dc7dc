#pragma once
// The text-background dialog: the 19 colour names in a list, OK and Cancel.
// Its list selection is where the current text-background index lives.
#include "platform/ScreenArea.h"
#include "ui/ColorValue.h"
#include "ui/TFont.h"
#include "util/ModalResult.h"

#include <QDialog>

class QPushButton;
class QScrollArea;
class TListBox;

class THintergrundForm : public QDialog {
    Q_OBJECT
public:
    // screenArea: the display the dialog fits and places itself on.
    THintergrundForm(QWidget* AOwner, int ABtnWidth, int ARand,
                     const platform::IScreenArea& screenArea = platform::SystemScreenArea());

    // Read: the selected index, -1 while none is selected. Write: outside 0..18 selects 0.
    int HintergrundNr() const;
    void setHintergrundNr(int value);
    // The table value of the selected entry (entry 0's while none is selected).
    ColorValue HintergrundFarbe() const;
    // The same two rules for an index alone, for an owner that keeps the
    // index while the dialog does not exist yet: the entry that writing
    // value selects, and the table value that goes with index nr.
    static int SelectedBy(int value);
    static ColorValue ColorOf(int nr);

    int BtnWidth() const { return FBtnWidth; }
    void setBtnWidth(int value);
    int Rand() const { return FRand; }
    void setRand(int value);

    void CaptionZuweisen(const QString& ACaption, const QString& ABtn1Caption, const QString& ABtn2Caption);
    void SchalterEinrichten();
    void FensterEinrichten();
    void SchriftartZuweisen(const TFont& AFont, ColorValue AColor);

    TListBox* ListBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

    // The selection the dialog was last shown with; Cancel puts it back.
    int MerkItemIndex = -1;

    using enum util::ModalResult;

public slots:
    void done(int r) override;
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    // The layout without the placement.
    void layOutControls();

    int FBtnWidth;
    int FRand;
    bool m_positionRuleSpent = false;  // the first showing is centred over the owner, once
    QScrollArea* m_scroller = nullptr; // the client: scrolls only when the work area is too small
    QWidget* m_content = nullptr;      // the controls' area inside it
    const platform::IScreenArea& m_screenArea;
};
