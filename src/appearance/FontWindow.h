#pragma once
// The font choice window: face, style, size, effects (strike-out, underline,
// text colour), script and a live sample. Shows its own texts in the display
// font, as large as still fits the screen, and scrolls where it must.
#include "appearance/FontChoice.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollArea;

class FontWindow : public QDialog {
    Q_OBJECT
public:
    FontWindow(const TFont& start, QWidget* parent = nullptr);

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

private:
    void fillScripts(const QString& family, int wanted);
    void updateSample();
    void setUpOwnFont();
    std::optional<int> readPoints() const;
    QString chosenName() const;

    TFont m_start;
    QScrollArea* m_scrollArea = nullptr;
    QScrollArea* m_sampleScroll = nullptr;
    bool m_colorChosen = false;
    bool m_scriptChosen = false;
};
