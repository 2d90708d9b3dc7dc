#include "app/ToolkitTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool LoadGermanToolkitTexts(QCoreApplication& app)
{
    auto* catalogue = new QTranslator(&app);
    // qtbase_de covers the widgets, dialogs and message boxes of the toolkit.
    if (!catalogue->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete catalogue;
        return false;
    }
    return QCoreApplication::installTranslator(catalogue);
}
