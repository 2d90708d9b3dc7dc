// Entry point of the GUI library, called by the launcher (main.cpp) once this
// process is known to be the first instance.
#include "instance/MessageChannelServer.h"
#include "instance/Nachrichten.h"
#include "instance/QtFormularBaum.h"
#include "instance/QtWindowSystem.h"

#include <QApplication>
#include <QLabel>

extern "C" __attribute__((visibility("default"))) int zarnolith_gui_main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel placeholder(QStringLiteral("Zarnolith V1.01"));
    placeholder.setWindowTitle(QStringLiteral("Zarnolith V1.01"));
    instance::AnwendungsFormularHinzufuegen(&placeholder);

    // The main window's messages from a second start or an outside program.
    instance::MessageChannelServer kanal(
        instance::MessageChannelServer::StandardPfad(),
        [&placeholder](unsigned message) {
            if (message == instance::WM_BEENDEN)
                placeholder.close();
            else if (message == instance::WM_AKTIVIEREN)
                instance::AnwendungNachVorneBringen(instance::AnwendungsFormulare());
        },
        [] { return instance::AnwendungsFensterTitel(instance::AnwendungsFormulare()); });

    placeholder.show();
    return app.exec();
}
