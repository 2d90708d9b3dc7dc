#include "appearance/TFontDialog.h"

#include "appearance/SchriftartFenster.h"

bool TFontDialog::Execute(QWidget* parent)
{
    SchriftartFenster fenster(Font, parent);
    if (fenster.exec() != 1)
        return false;
    SchriftWahlUebernehmen(Font, fenster.Wahl());
    return true;
}
