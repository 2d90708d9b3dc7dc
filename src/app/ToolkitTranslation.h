#pragma once
// The toolkit's own texts (standard buttons, the edit fields' context menu,
// the font dialog) in German, whatever language the user's session speaks:
// the program's interface is German throughout.
class QCoreApplication;

// Installs Qt's German catalogue on the application (which then owns it).
// False when the catalogue is not installed; the toolkit then keeps its English.
bool LoadGermanToolkitTexts(QCoreApplication& app);
