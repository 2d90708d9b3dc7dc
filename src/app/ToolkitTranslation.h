#pragma once
// The toolkit's own texts (standard buttons, the edit fields' context menu,
// the font dialog) in German, whatever language the user's session speaks:
// the program's interface is German throughout.
class QCoreApplication;

// Installs Qt's German catalogue on the application (which then owns it).
// False when the catalogue is not installed; the toolkit then keeps its English.
bool LoadGermanToolkitTexts(QCoreApplication& app);

// The toolkit writes a shortcut beside a menu item from the item's key
// sequence; this makes it use the program's own modifier names ("Umsch+",
// "Strg+", "Alt+"), so a menu item's text is its caption alone and a screen
// reader gets the shortcut as the item's key binding, not inside its name.
// Installed after the catalogue, so it is asked first.
void LoadProgramShortcutTexts(QCoreApplication& app);
