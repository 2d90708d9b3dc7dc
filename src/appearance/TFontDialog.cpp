#include "appearance/TFontDialog.h"

#include "appearance/FontWindow.h"

bool TFontDialog::Execute(QWidget* parent)
{
    FontWindow targetWindow(Font, parent);
    if (targetWindow.exec() != 1)
        return false;
    ApplyFontChoice(Font, targetWindow.Choice());
    return true;
}
