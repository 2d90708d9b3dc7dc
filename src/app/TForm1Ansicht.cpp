// The main window's display settings: the HintergrundNr property, loading and
// saving them, and the two commands of the "&Ansicht" menu.
#include "app/TForm1.h"

#include "appearance/EinstellungsSpeicher.h"
#include "appearance/THintergrundForm.h"
#include "appearance/TListBox.h"

#include <QMessageBox>
#include <utility>

int TForm1::HintergrundNr() const { return HintergrundForm->HintergrundNr(); }

void TForm1::setHintergrundNr(int value)
{
    HintergrundForm->setHintergrundNr(value);
    AnzeigeHintergrund = HintergrundForm->HintergrundFarbe();
    m_hintergrundNrGeschrieben = true;
    SchriftartZuweisen();
}

void TForm1::RegistryLadenSpeichern(bool LadenS)
{
    EinstellungsSpeicher speicher(FontDialog1.Font, [this] { return HintergrundNr(); },
                                  [this](int nr) { setHintergrundNr(nr); });
    // The notice about a damaged file is kept also when the load then stops at an error.
    struct HinweisMerken {
        TForm1* form;
        const EinstellungsSpeicher& speicher;
        ~HinweisMerken()
        {
            if (!speicher.Hinweis().isEmpty())
                form->m_einstellungsHinweis = speicher.Hinweis();
        }
    } hinweisMerken{this, speicher};
    speicher.RegistryLadenSpeichern(LadenS);
}

void TForm1::EinstellungsHinweisZeigen()
{
    const QString hinweis = std::exchange(m_einstellungsHinweis, QString());
    if (hinweis.isEmpty())
        return;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Informationen"), hinweis, QMessageBox::NoButton, this);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

void TForm1::AnzeigeEinstellungenLaden()
{
    // The load applies the settings by writing HintergrundNr. When it applies
    // nothing (no key, or an error on the way) the window would be shown without
    // any layout; lay it out with the settings in force instead. An error still
    // ends FormShow and reaches the error box.
    m_hintergrundNrGeschrieben = false;
    try {
        RegistryLadenSpeichern(true);
    } catch (...) {
        if (!m_hintergrundNrGeschrieben)
            SchriftartZuweisen();
        throw;
    }
    if (!m_hintergrundNrGeschrieben)
        SchriftartZuweisen();
}

void TForm1::MenuAnsSchriftartClick()
{
    MerkActiveControl = focusWidget();
    // The focus comes back however the command ends, an error in the saving included.
    struct FokusZurueck {
        TForm1* form;
        ~FokusZurueck() { form->SetActiveControl(); }
    } fokusZurueck{this};

    if (FontDialog1.Execute(this)) {
        setHintergrundNr(HintergrundNr());
        RegistryLadenSpeichern(false);
    }
}

void TForm1::SetActiveControl()
{
    if (QWidget* aktiv = focusWidget())
        aktiv->clearFocus();
    QWidget* c = MerkActiveControl;
    // isVisible and isEnabled already account for every parent up to the window.
    if (c && c->window() == this && c->isVisible() && c->isEnabled() && c->focusPolicy() != Qt::NoFocus)
        c->setFocus();
}

void TForm1::MenuAnsHintergrundClick()
{
    HintergrundForm->SchriftartZuweisen(FontDialog1.Font, HintergrundForm->HintergrundFarbe());
    HintergrundForm->ListBox1->setItemIndex(HintergrundNr());
    if (HintergrundForm->exec() == THintergrundForm::mrOk) {
        setHintergrundNr(HintergrundForm->ListBox1->ItemIndex());
        RegistryLadenSpeichern(false);
    }
}
