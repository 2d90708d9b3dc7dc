// Entry point of the GUI library, called by the launcher (main.cpp) once this
// process is known to be the first instance.
#include "app/TForm1.h"
#include "app/TPixelForm.h"
#include "app/ToolkitTranslation.h"
#include "app/ZarnolithApplication.h"
#include "instance/QtFormTree.h"
#include "instance/QtWindowSystem.h"
#ifdef _WIN32
#include "instance/Messages.h"
#include "instance/WindowMessageFilter.h"
#else
#include "instance/MessageChannelServer.h"
#endif

#include <memory>

// The one symbol the library exports.
#ifdef _WIN32
#define ZARNOLITH_GUI_EXPORT __declspec(dllexport)
#else
#define ZARNOLITH_GUI_EXPORT __attribute__((visibility("default")))
#endif

extern "C" ZARNOLITH_GUI_EXPORT int zarnolith_gui_main(int argc, char** argv)
{
    auto app = std::make_unique<ZarnolithApplication>(argc, argv);
    // Before any window exists, so every standard text the toolkit shows is German.
    LoadGermanToolkitTexts(*app);
    LoadProgramShortcutTexts(*app);
    int rc = 0;
    {
        // The main window first, then the start-values dialog; both live until the end.
        TForm1 form1;
        TPixelForm pixelForm(&form1);
        // The application owns both, in this order (the order WM_AKTIVIEREN brings them forward).
        instance::AddApplicationForm(&form1);
        instance::AddApplicationForm(&pixelForm);
        // The main window's messages from a second start or an outside program.
#ifdef _WIN32
        // Posted to the main window's own window by any program of the desktop.
        instance::WindowMessageFilter messages(
            [&form1] { return static_cast<instance::WindowHandle>(form1.internalWinId()); },
            {instance::WM_BEENDEN, instance::WM_AKTIVIEREN}, [&form1](unsigned message) { form1.Message(message); });
        app->installNativeEventFilter(&messages);
#else
        instance::MessageChannelServer channel(
            instance::MessageChannelServer::DefaultPath(), [&form1](unsigned message) { form1.Message(message); },
            [] { return instance::ApplicationWindowTitles(instance::ApplicationForms()); });
#endif
        form1.show();
        rc = app->exec();
    }
    // Qt's Wayland client (6.4) can hang for good while tearing down its
    // connection, waiting for its own event thread (seen after the last window
    // closed on a busy machine). The windows and the channel are gone and
    // nothing is saved at exit, so on Wayland the process's end takes the
    // connection down instead.
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
        static_cast<void>(app.release());
    return rc;
}
