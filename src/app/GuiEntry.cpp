// Entry point of the GUI library, called by the launcher (main.cpp) once this
// process is known to be the first instance.
#include <QApplication>
#include <QLabel>

extern "C" __attribute__((visibility("default"))) int zarnolith_gui_main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel placeholder(QStringLiteral("Zarnolith V1.01"));
    placeholder.setWindowTitle(QStringLiteral("Zarnolith V1.01"));
    placeholder.show();
    return app.exec();
}
