#pragma once
// The font choice window: face, style, size, effects (strike-out, underline,
// text colour), script and a live sample on the text-background colour. Its
// own texts are in the display font at the display font's size, however
// large; the window fits the work area by its layout (the columns stack when
// they are too wide) and scrolls where its controls need more room.
#include "appearance/FontChoice.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class ChoiceList;
class FocusRing;
class TabScrollArea;

class FontWindow : public QDialog {
    Q_OBJECT
public:
    // The sample is shown on `background`, the text-background colour in use;
    // without one, on white (the background the program starts with).
    FontWindow(const TFont& start, QWidget* parent = nullptr);
    FontWindow(const TFont& start, ColorValue background, QWidget* parent = nullptr);

    // The choice as it stands; valid after the window was confirmed.
    FontChoice Choice() const;

    QLineEdit* NameEdit = nullptr;
    QListWidget* NameList = nullptr;
    QListWidget* StyleList = nullptr;
    QLineEdit* SizeEdit = nullptr;
    QListWidget* SizeList = nullptr;
    QCheckBox* StruckOut = nullptr;
    QCheckBox* Underlined = nullptr;
    QComboBox* ColorBox = nullptr;
    QComboBox* ScriptBox = nullptr;
    QLabel* Sample = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

public slots:
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillScripts(const QString& family, int wanted);
    void paintSwatches();
    void updateSample();
    void setUpOwnFont();
    void fitTo(const QSize& room);
    void arrange(bool stacked);
    void sizeControls(const QSize& view);
    void sizeSample();
    QSize frameMargins() const;
    QSize roomOnScreen(const QSize& frame) const;
    std::optional<int> readPoints() const;
    QString chosenName() const;

    TFont m_start;
    ColorValue m_background;
    ChoiceList* m_nameList = nullptr;
    ChoiceList* m_styleList = nullptr;
    ChoiceList* m_sizeList = nullptr;
    QLabel* m_nameLabel = nullptr;
    QLabel* m_styleLabel = nullptr;
    QLabel* m_sizeLabel = nullptr;
    QGroupBox* m_effects = nullptr;
    QGroupBox* m_sampleBox = nullptr;
    QWidget* m_content = nullptr;
    TabScrollArea* m_scrollArea = nullptr;
    TabScrollArea* m_sampleScroll = nullptr;
    FocusRing* m_scrollRing = nullptr;
    FocusRing* m_sampleRing = nullptr;
    QSize m_view;    // the outer area's view as the layout was made for it
    int m_style = 0; // the style row chosen: Standard, Kursiv, Fett, Fett Kursiv
    bool m_colorChosen = false;
    bool m_scriptChosen = false;
    bool m_placed = false;
};
