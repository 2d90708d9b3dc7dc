// The menu "&Hilfe" of the real main window, opened and chosen with the mouse.
#include "HilfeTestUmgebung.h"

#include "app/TForm1.h"
#include "help/HistoryViewer.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

namespace {

class HilfeMenueFormTest : public HilfeTestUmgebung {
protected:
    void SetUp() override
    {
        HilfeTestUmgebung::SetUp();
        TFont::setPixelsPerInchOverride(96);
        m_form = std::make_unique<TForm1>(nullptr, platform::SystemBeep(), platform::SystemScreenArea(),
                                          ZarnolithApplication::StandardErrorBox(), umgebung());
        m_savedBackground = AnzeigeHintergrund;
    }
    void TearDown() override
    {
        AnzeigeHintergrund = m_savedBackground;
        m_form.reset();
        TFont::setPixelsPerInchOverride(0);
        HilfeTestUmgebung::TearDown();
    }

    // Opens the menu as the menu bar does (aboutToShow runs MenuHilfeClick).
    void menueOeffnen()
    {
        m_form->MenuHilfe->popup(QPoint(0, 0));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form->MenuHilfe));
    }
    void waehlen(QAction* item)
    {
        menueOeffnen();
        ASSERT_TRUE(item->isVisible() && item->isEnabled()) << item->text().toStdString();
        const QPoint mitte = m_form->MenuHilfe->actionGeometry(item).center();
        QTest::mouseClick(m_form->MenuHilfe, Qt::LeftButton, {}, mitte);
        EXPECT_FALSE(m_form->MenuHilfe->isVisible());
    }

    std::unique_ptr<TForm1> m_form;
    ColorValue m_savedBackground;
};

TEST_F(HilfeMenueFormTest, OpeningTheMenuAdaptsTheTwoItems)
{
    menueOeffnen();
    EXPECT_FALSE(m_form->MenuHilfeUpdate->isVisible());
    EXPECT_FALSE(m_form->MenuHilfeAenderungen->isEnabled());
    EXPECT_TRUE(m_form->MenuHilfeinfo->isEnabled() && m_form->MenuHilfeMail->isVisible());
    m_form->MenuHilfe->close();

    dateiSchreiben(programmVerzeichnis() + "History.txt", "x");
    updaterAnlegen();
    menueOeffnen();
    EXPECT_TRUE(m_form->MenuHilfeUpdate->isVisible());
    EXPECT_TRUE(m_form->MenuHilfeAenderungen->isEnabled());
    m_form->MenuHilfe->close();

    QFile::remove(programmVerzeichnis() + "Vellomat.exe");
    QFile::remove(programmVerzeichnis() + "History.txt");
    QDir().mkpath(programmVerzeichnis() + "History.txt"); // a directory of that name does not count
    menueOeffnen();
    EXPECT_FALSE(m_form->MenuHilfeUpdate->isVisible());
    EXPECT_FALSE(m_form->MenuHilfeAenderungen->isEnabled());
    m_form->MenuHilfe->close();
}

TEST_F(HilfeMenueFormTest, AddressItemsReachTheOpener)
{
    const std::vector<std::pair<QAction*, QString>> faelle = {
        {m_form->MenuHilfeHomepage, "https://www.example.org/zarnolith"},
        {m_form->MenuHilfeMail, "mailto:zarnolith@example.org?subject=Zarnolith V1.01"},
        {m_form->MenuHilfeSpenden, "https://www.example.org/zarnolith/spenden.htm"},
    };
    for (const auto& [item, erwartet] : faelle) {
        standin::ClearRecords(openerRecords());
        waehlen(item);
        const auto records = standin::WaitForRecords(openerRecords());
        ASSERT_EQ(records.size(), 1u) << erwartet.toStdString();
        EXPECT_EQ(records[0].arguments, QStringList{erwartet});
        // owner, empty directory, "open", show normally
        EXPECT_EQ(m_starts.takeLast(), (QStringList{erwartet, "", "", "open", "1"}));
    }
}

TEST_F(HilfeMenueFormTest, InfoUpdateAndChangeHistoryUseTheWindowsSettings)
{
    waehlen(m_form->MenuHilfeinfo);
    EXPECT_EQ(m_infos, QStringList{help::HilfeMenue::InfoText()});

    AnzeigeSchrift->Name = "Courier New";
    AnzeigeSchrift->setSize(12);
    updaterAnlegen();
    waehlen(m_form->MenuHilfeUpdate);
    EXPECT_EQ(dateiLesen(tempVerzeichnis() + "Qmt.cfg"),
              "Zarnolith V1.01\r\n" + m_form->windowTitle().toUtf8() + "\r\n" + QFile::encodeName(programmDatei()) +
                  "\r\nQmt\r\n12 Courier New\r\n");
    EXPECT_EQ(m_form->windowTitle(), QStringLiteral("Zarnolith V1.01"));
    EXPECT_EQ(standin::WaitForRecords(updaterRecords()).size(), 1u);

    dateiSchreiben(programmVerzeichnis() + "History.txt", "Version 1.01\n");
    AnzeigeHintergrund = ColorValue::fromRgb(0, 255, 255);
    waehlen(m_form->MenuHilfeAenderungen);
    waehlen(m_form->MenuHilfeAenderungen);
    const auto anzeigen = m_form->findChildren<help::HistoryViewer*>();
    ASSERT_EQ(anzeigen.size(), 1) << "the second choice brings the first window to the front";
    EXPECT_TRUE(anzeigen[0]->isVisible());
    EXPECT_EQ(anzeigen[0]->toPlainText(), QStringLiteral("Version 1.01\n"));
    EXPECT_EQ(anzeigen[0]->font().pixelSize(), std::abs(AnzeigeSchrift->Height));
    EXPECT_EQ(anzeigen[0]->palette().color(QPalette::Base), QColor(0, 255, 255));
}

} // namespace
