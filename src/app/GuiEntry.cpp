// Entry point of the GUI library, called by the launcher (main.cpp) once this
// process is known to be the first instance.
#include "app/TForm1.h"
#include "app/TPixelForm.h"
#include "app/ToolkitTranslation.h"
#include "app/ZarnolithApplication.h"
#include "instance/MessageChannelServer.h"
#include "instance/QtFormularBaum.h"
#include "instance/QtWindowSystem.h"

extern "C" __attribute__((visibility("default"))) int zarnolith_gui_main(int argc, char** argv)
{
    ZarnolithApplication app(argc, argv);
    // Before any window exists, so every standard text the toolkit shows is German.
    LoadGermanToolkitTexts(app);
    LoadProgramShortcutTexts(app);
    // The main window first, then the start-values dialog; both live until the end.
    TForm1 form1;
    TPixelForm pixelForm(&form1);
    // The application owns both, in this order (the order WM_AKTIVIEREN brings them forward).
    instance::AnwendungsFormularHinzufuegen(&form1);
    instance::AnwendungsFormularHinzufuegen(&pixelForm);
    // The main window's messages from a second start or an outside program.
    instance::MessageChannelServer kanal(
        instance::MessageChannelServer::StandardPfad(), [&form1](unsigned nachricht) { form1.Nachricht(nachricht); },
        [] { return instance::AnwendungsFensterTitel(instance::AnwendungsFormulare()); });
    form1.show();
    return app.exec();
}
