// Test main shared by all test executables: widgets need a QApplication, and
// the suite runs headless on the offscreen platform unless told otherwise.
#include "support/PrivateUserRegistry.h"

#include <QApplication>
#include <QFont>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The main window loads and saves the display settings: never the user's own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const PrivateUserRegistry registry; // Windows: they live in the registry
    QApplication app(argc, argv);
#ifdef _WIN32
    // The offscreen platform finds only the font files of its font folder, the
    // metric-compatible Liberation fonts and DejaVu: the faces of Windows that
    // the program names are those, as fontconfig makes them on Linux.
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
