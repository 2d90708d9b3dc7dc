// The toolkit's own texts come in German, whatever the session's language.
#include "app/ToolkitTranslation.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

TEST(ToolkitTexts, StandardButtonsAndTheEditMenuAreGerman)
{
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(dir + QStringLiteral("/qtbase_de.qm")))
        GTEST_SKIP() << "qtbase_de.qm is not installed in " << dir.toStdString();

    ASSERT_TRUE(LoadGermanToolkitTexts(*qApp));

    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("t"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Ja"));

    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList items;
    for (const QAction* a : menu->actions())
        items << a->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
    EXPECT_TRUE(items.contains(QStringLiteral("Einfügen"))) << items.join(u'|').toStdString();
    EXPECT_TRUE(items.contains(QStringLiteral("Alles auswählen"))) << items.join(u'|').toStdString();

    // The other tests of this program expect the toolkit's own texts.
    for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    QMessageBox english(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("t"), QMessageBox::Cancel);
    EXPECT_EQ(english.button(QMessageBox::Cancel)->text(), QStringLiteral("Cancel"));
}

} // namespace
