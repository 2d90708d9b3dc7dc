#include "app/ToolkitTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

class ShortcutNames : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* disambiguation, int n) const override
    {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (qstrcmp(context, "QShortcut") != 0)
            return {};
        if (qstrcmp(sourceText, "Shift") == 0)
            return QStringLiteral("Umsch");
        if (qstrcmp(sourceText, "Ctrl") == 0)
            return QStringLiteral("Strg");
        if (qstrcmp(sourceText, "Alt") == 0)
            return QStringLiteral("Alt");
        return {};
    }
};

} // namespace

void LoadProgramShortcutTexts(QCoreApplication& app) { QCoreApplication::installTranslator(new ShortcutNames(&app)); }

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
