// Main of the contrast tests: the program's own application object (its style
// draws the focus frames), on the colour scheme the session asks for:
//   ZARNOLITH_TEST_SCHEME=light  the toolkit's own light scheme (default)
//   ZARNOLITH_TEST_SCHEME=dark   the desktop's dark scheme "darker" of qt6ct,
//                                as a user of a dark desktop has it
#include "app/ZarnolithApplication.h"
#include "support/PrivateUserRegistry.h"

#include <QDir>
#include <QFile>
#include <QPalette>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

constexpr const char* kDarkScheme = "/usr/share/qt6ct/colors/darker.conf";

bool prepareDarkScheme(const QString& configHome)
{
    if (!QFile::exists(QString::fromLatin1(kDarkScheme))) {
        std::fprintf(stderr, "contrast tests: %s missing (package qt6ct)\n", kDarkScheme);
        return false;
    }
    QDir(configHome).mkpath(QStringLiteral("qt6ct"));
    QFile conf(configHome + QStringLiteral("/qt6ct/qt6ct.conf"));
    if (!conf.open(QIODevice::WriteOnly))
        return false;
    conf.write("[Appearance]\ncolor_scheme_path=");
    conf.write(kDarkScheme);
    conf.write("\ncustom_palette=true\nstyle=Fusion\n");
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const bool dark = qgetenv("ZARNOLITH_TEST_SCHEME") == "dark";
    if (dark) {
        if (!prepareDarkScheme(config.path()))
            return 1;
        qputenv("QT_QPA_PLATFORMTHEME", "qt6ct");
    }
    const PrivateUserRegistry registry;
    ZarnolithApplication app(argc, argv);
    // A caret that does not blink: two pictures of the same state are the same.
    QApplication::setCursorFlashTime(0);
    const QColor text = QApplication::palette().color(QPalette::Text);
    if (dark != (text.lightness() > 128)) {
        std::fprintf(stderr, "contrast tests: the %s scheme did not take effect (text colour %s)\n",
                     dark ? "dark" : "light", qPrintable(text.name()));
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
