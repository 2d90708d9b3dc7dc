// The menu "&Hilfe" of the real main window, opened and chosen with the mouse.
#include "HelpTestEnvironment.h"

#include "app/TForm1.h"
#include "help/HistoryViewer.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

namespace {

class HelpMenuFormTest : public HelpTestEnvironment {
protected:
    void SetUp() override
    {
        HelpTestEnvironment::SetUp();
        m_form = std::make_unique<TForm1>(nullptr, platform::SystemBeep(), platform::SystemScreenArea(),
                                          ZarnolithApplication::StandardErrorBox(), environment());
        m_form->FontDialog1.Font.PixelsPerInch = 96;
        m_savedBackground = AnzeigeHintergrund;
    }
    void TearDown() override
    {
        AnzeigeHintergrund = m_savedBackground;
        m_form.reset();
        HelpTestEnvironment::TearDown();
    }

    // Opens the menu as the menu bar does (aboutToShow runs MenuHilfeClick).
    void openMenu()
    {
        m_form->MenuHilfe->popup(QPoint(0, 0));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form->MenuHilfe));
    }
    void choose(QAction* item)
    {
        openMenu();
        ASSERT_TRUE(item->isVisible() && item->isEnabled()) << item->text().toStdString();
        const QPoint middle = m_form->MenuHilfe->actionGeometry(item).center();
        QTest::mouseClick(m_form->MenuHilfe, Qt::LeftButton, {}, middle);
        EXPECT_FALSE(m_form->MenuHilfe->isVisible());
    }

    std::unique_ptr<TForm1> m_form;
    ColorValue m_savedBackground;
};

TEST_F(HelpMenuFormTest, OpeningTheMenuAdaptsTheTwoItems)
{
    openMenu();
    EXPECT_FALSE(m_form->MenuHilfeUpdate->isVisible());
    EXPECT_FALSE(m_form->MenuHilfeAenderungen->isEnabled());
    EXPECT_TRUE(m_form->MenuHilfeinfo->isEnabled() && m_form->MenuHilfeMail->isVisible());
    m_form->MenuHilfe->close();

    writeFile(programDirectory() + "History.txt", "x");
    createUpdater();
    openMenu();
    EXPECT_TRUE(m_form->MenuHilfeUpdate->isVisible());
    EXPECT_TRUE(m_form->MenuHilfeAenderungen->isEnabled());
    m_form->MenuHilfe->close();

    QFile::remove(programDirectory() + "Vellomat.exe");
    QFile::remove(programDirectory() + "History.txt");
    QDir().mkpath(programDirectory() + "History.txt"); // a directory of that name does not count
    openMenu();
    EXPECT_FALSE(m_form->MenuHilfeUpdate->isVisible());
    EXPECT_FALSE(m_form->MenuHilfeAenderungen->isEnabled());
    m_form->MenuHilfe->close();
}

TEST_F(HelpMenuFormTest, AddressItemsReachTheOpener)
{
    const std::vector<std::pair<QAction*, QString>> cases = {
        {m_form->MenuHilfeHomepage, "https://www.example.org/zarnolith"},
        {m_form->MenuHilfeMail, "mailto:zarnolith@example.org?subject=Zarnolith V1.01"},
        {m_form->MenuHilfeSpenden, "https://www.example.org/zarnolith/spenden.htm"},
    };
    for (const auto& [item, expectedNames] : cases) {
        standin::ClearRecords(openerRecords());
        choose(item);
        const auto records = standin::WaitForRecords(openerRecords());
        ASSERT_EQ(records.size(), 1u) << expectedNames.toStdString();
        EXPECT_EQ(records[0].arguments, QStringList{expectedNames});
        // owner, empty directory, "open", show normally
        EXPECT_EQ(m_starts.takeLast(), (QStringList{expectedNames, "", "", "open", "1"}));
    }
}

TEST_F(HelpMenuFormTest, InfoUpdateAndChangeHistoryUseTheWindowsSettings)
{
    choose(m_form->MenuHilfeinfo);
    EXPECT_EQ(m_infos, QStringList{help::HelpMenu::InfoText()});

    AnzeigeSchrift->Name = "Courier New";
    AnzeigeSchrift->setSize(12);
    createUpdater();
    choose(m_form->MenuHilfeUpdate);
    EXPECT_EQ(readFile(tempDirectory() + "Qmt.cfg"),
              "Zarnolith V1.01\r\n" + m_form->windowTitle().toUtf8() + "\r\n" + QFile::encodeName(programFile())
                  + "\r\nQmt\r\n12 Courier New\r\n");
    EXPECT_EQ(m_form->windowTitle(), QStringLiteral("Zarnolith V1.01"));
    EXPECT_EQ(standin::WaitForRecords(updaterRecords()).size(), 1u);

    writeFile(programDirectory() + "History.txt", "Version 1.01\n");
    AnzeigeHintergrund = ColorValue::fromRgb(0, 255, 255);
    choose(m_form->MenuHilfeAenderungen);
    choose(m_form->MenuHilfeAenderungen);
    const auto viewers = m_form->findChildren<help::HistoryViewer*>();
    ASSERT_EQ(viewers.size(), 1) << "the second choice brings the first window to the front";
    EXPECT_TRUE(viewers[0]->isVisible());
    EXPECT_EQ(viewers[0]->toPlainText(), QStringLiteral("Version 1.01\n"));
    EXPECT_EQ(viewers[0]->font().pixelSize(), std::abs(AnzeigeSchrift->Height));
    EXPECT_EQ(viewers[0]->palette().color(QPalette::Base), QColor(0, 255, 255));
}

} // namespace
