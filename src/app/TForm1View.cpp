// The main window's display settings: the HintergrundNr property, loading and
// saving them, and the two commands of the "&Ansicht" menu.
#include "app/TForm1.h"

#include "settings/SettingsStore.h"
#include "appearance/THintergrundForm.h"
#include "appearance/TListBox.h"
#include "ui/MessageBoxDisplay.h"

#include <utility>

THintergrundForm* TForm1::HintergrundForm()
{
    if (!m_hintergrundForm) {
        m_hintergrundForm = new THintergrundForm(this, 125, 10, m_screenArea);
        m_hintergrundForm->setHintergrundNr(m_hintergrundNr);
    }
    return m_hintergrundForm;
}

int TForm1::HintergrundNr() const { return m_hintergrundForm ? m_hintergrundForm->HintergrundNr() : m_hintergrundNr; }

void TForm1::setHintergrundNr(int value)
{
    if (m_hintergrundForm) {
        m_hintergrundForm->setHintergrundNr(value);
        AnzeigeHintergrund = m_hintergrundForm->HintergrundFarbe();
    } else {
        m_hintergrundNr = THintergrundForm::SelectedBy(value);
        AnzeigeHintergrund = THintergrundForm::ColorOf(m_hintergrundNr);
    }
    m_hintergrundNrWritten = true;
    SchriftartZuweisen();
}

void TForm1::RegistryLadenSpeichern(bool LadenS)
{
    settings::SettingsStore store(
        FontDialog1.Font, [this] { return HintergrundNr(); }, [this](int nr) { setHintergrundNr(nr); });
    // The notice about a damaged file is kept also when the load then stops at an error.
    struct RememberNotice {
        TForm1* form;
        const settings::SettingsStore& store;
        ~RememberNotice()
        {
            if (!store.Notice().isEmpty())
                form->m_settingsNotice = store.Notice();
        }
    } rememberNotice{this, store};
    store.RegistryLadenSpeichern(LadenS);
}

void TForm1::ShowSettingsNotice()
{
    const QString notice = std::exchange(m_settingsNotice, QString());
    if (notice.isEmpty())
        return;
    ShowMessageBox(this, QMessageBox::Warning, QStringLiteral("Informationen"), notice);
}

void TForm1::LoadDisplaySettings()
{
    // The load applies the settings by writing HintergrundNr. When it applies
    // nothing (no key, or an error on the way) the window would be shown without
    // any layout; lay it out with the settings in force instead. An error still
    // ends FormShow and reaches the error box.
    m_hintergrundNrWritten = false;
    try {
        RegistryLadenSpeichern(true);
    } catch (...) {
        if (!m_hintergrundNrWritten)
            SchriftartZuweisen();
        throw;
    }
    if (!m_hintergrundNrWritten)
        SchriftartZuweisen();
}

void TForm1::MenuAnsSchriftartClick()
{
    MerkActiveControl = focusWidget();
    // The focus comes back however the command ends, an error in the saving included.
    struct RestoreFocus {
        TForm1* form;
        ~RestoreFocus() { form->SetActiveControl(); }
    } restoreFocus{this};

    if (FontDialog1.Execute(this, AnzeigeHintergrund)) {
        setHintergrundNr(HintergrundNr());
        RegistryLadenSpeichern(false);
    }
}

void TForm1::SetActiveControl()
{
    if (QWidget* enabled = focusWidget())
        enabled->clearFocus();
    QWidget* c = MerkActiveControl;
    // isVisible and isEnabled already account for every parent up to the window.
    if (c && c->window() == this && c->isVisible() && c->isEnabled() && c->focusPolicy() != Qt::NoFocus)
        c->setFocus();
}

void TForm1::MenuAnsHintergrundClick()
{
    THintergrundForm* dialog = HintergrundForm();
    dialog->SchriftartZuweisen(FontDialog1.Font, dialog->HintergrundFarbe());
    dialog->ListBox1->setItemIndex(HintergrundNr());
    if (dialog->exec() == THintergrundForm::mrOk) {
        setHintergrundNr(dialog->ListBox1->ItemIndex());
        RegistryLadenSpeichern(false);
    }
}
