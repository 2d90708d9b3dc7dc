#pragma once
// The font choice window: face, style, size, effects (strike-out, underline,
// text colour), script and a live sample. Shows its own texts in the display
// font, as large as still fits the screen, and scrolls where it must.
#include "appearance/SchriftWahl.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollArea;

class SchriftartFenster : public QDialog {
    Q_OBJECT
public:
    SchriftartFenster(const TFont& start, QWidget* parent = nullptr);

    // The choice as it stands; valid after the window was confirmed.
    SchriftWahl Wahl() const;

    QLineEdit* NameEdit = nullptr;
    QListWidget* NameListe = nullptr;
    QListWidget* StilListe = nullptr;
    QLineEdit* GroesseEdit = nullptr;
    QListWidget* GroesseListe = nullptr;
    QCheckBox* Durchgestrichen = nullptr;
    QCheckBox* Unterstrichen = nullptr;
    QComboBox* FarbBox = nullptr;
    QComboBox* SkriptBox = nullptr;
    QLabel* Beispiel = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* AbbrechenButton = nullptr;

public slots:
    void accept() override;
    void reject() override;

private:
    void fuelleSkripte(const QString& family, int gewuenscht);
    void beispielAktualisieren();
    void eigeneSchriftEinrichten();
    std::optional<int> gelesenePunkte() const;
    QString gewaehlterName() const;

    TFont m_start;
    QScrollArea* m_rollbereich = nullptr;
    QScrollArea* m_beispielRollen = nullptr;
    bool m_farbeGewaehlt = false;
    bool m_skriptGewaehlt = false;
};
