#pragma once
// The program's own message boxes (errors, the notice about damaged settings,
// the program information) are windows the user must read: they show their
// text in the display font on the text background, as the program's other
// windows do, and their icon grows with the font. Their title bar, like every
// window's, stays the system's.
//
// The main window hands over the display settings each time it applies them;
// until then (and once it is gone) a box keeps the toolkit's font and colours.
#include "ui/ColorValue.h"
#include "ui/TFont.h"

#include <QMessageBox>

void SetMessageBoxDisplay(const TFont& font, ColorValue background);
void ClearMessageBoxDisplay();

// Gives `box` the display settings in force: its texts in the display font and
// in the text colour as drawn on the background (see TextColorOn), on that
// background; its buttons in the display font's face, size and style.
void ApplyMessageBoxDisplay(QMessageBox& box);

// The modal box: `icon`, `title`, `text` and one button "OK", owned by `owner`,
// in the display settings.
void ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text);
