#include "appearance/TFontDialog.h"

#include "appearance/FontWindow.h"

bool TFontDialog::Execute(QWidget* parent, ColorValue background)
{
    FontWindow targetWindow(Font, background, parent);
    if (targetWindow.exec() != 1)
        return false;
    ApplyFontChoice(Font, targetWindow.Choice());
    return true;
}
