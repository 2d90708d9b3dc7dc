#include "HilfeTestUmgebung.h"

#include "help/HistoryViewer.h"
#include "support/ModalLoop.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using help::HilfeMenue;

namespace {

enum class Eintrag { Fehlt, Datei, Verzeichnis };

struct ZustandRow {
    Eintrag history;
    Eintrag vellomat;
    bool aenderungenAktiv;
    bool aktualisierungSichtbar;
};

class HilfeMenueZustandTest : public HilfeTestUmgebung, public ::testing::WithParamInterface<ZustandRow> {
protected:
    void anlegen(const QString& name, Eintrag e)
    {
        if (e == Eintrag::Datei)
            dateiSchreiben(programmVerzeichnis() + name, "x");
        else if (e == Eintrag::Verzeichnis)
            QDir().mkpath(programmVerzeichnis() + name);
    }
};

TEST_P(HilfeMenueZustandTest, ItemsFollowTheFilesBesideTheProgram)
{
    anlegen("History.txt", GetParam().history);
    anlegen("Vellomat.exe", GetParam().vellomat);
    const auto zustand = HilfeMenue(umgebung()).Zustand();
    EXPECT_EQ(zustand.aenderungenAktiv, GetParam().aenderungenAktiv);
    EXPECT_EQ(zustand.aktualisierungSichtbar, GetParam().aktualisierungSichtbar);
}

INSTANTIATE_TEST_SUITE_P(Rows, HilfeMenueZustandTest, ::testing::Values(
    ZustandRow{Eintrag::Fehlt, Eintrag::Fehlt, false, false},
    ZustandRow{Eintrag::Datei, Eintrag::Fehlt, true, false},
    ZustandRow{Eintrag::Fehlt, Eintrag::Datei, false, true},
    ZustandRow{Eintrag::Datei, Eintrag::Datei, true, true},
    ZustandRow{Eintrag::Verzeichnis, Eintrag::Verzeichnis, false, false}));

TEST(HilfeInfo, ThirteenLinesWithTitleFirstAndTheRealToolsLast)
{
    const QStringList zeilen = HilfeMenue::InfoText().split(QStringLiteral("\r\n"));
    ASSERT_EQ(zeilen.size(), 13);
    EXPECT_EQ(zeilen[0], QStringLiteral("Zarnolith V1.01"));
    EXPECT_EQ(zeilen[1], QStringLiteral("Anpassung von Bildpixel-Breite und -Höhe."));
    for (const QString& z : zeilen) {
        EXPECT_FALSE(z.trimmed().isEmpty());
        EXPECT_FALSE(z.contains(QLatin1Char('\n')) || z.contains(QLatin1Char('\r')));
    }
    static const QRegularExpression letzte(
        QStringLiteral("^Dieses Programm wurde mit Qt (\\d+\\.\\d+\\.\\d+) und (GCC|Clang) \\d+\\.\\d+[^%]* programmiert\\.$"));
    const auto treffer = letzte.match(zeilen[12]);
    ASSERT_TRUE(treffer.hasMatch()) << zeilen[12].toStdString();
    EXPECT_EQ(treffer.captured(1), QStringLiteral(QT_VERSION_STR));
    // Only reserved example domains in the contact lines.
    static const QRegularExpression domain(QStringLiteral("[\\w.-]+\\.(org|com|de|net)\\b"));
    for (auto it = domain.globalMatch(HilfeMenue::InfoText()); it.hasNext();) {
        const QString d = it.next().captured(0);
        EXPECT_TRUE(d.endsWith("example.org") || d.endsWith("example.com")) << d.toStdString();
    }
}

// Shows a box through the real surroundings, reads it and presses its button.
struct GezeigteBox {
    QString titel, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList knoepfe;
};

GezeigteBox boxLesen(const std::function<void()>& zeigen)
{
    GezeigteBox gelesen;
    modaltest::actInModal<QMessageBox>(zeigen, [&](QMessageBox& box) {
        gelesen = {box.windowTitle(), box.text(), box.icon(), {}};
        for (QAbstractButton* b : box.buttons())
            gelesen.knoepfe << b->text();
        ASSERT_FALSE(box.buttons().isEmpty());
        QTest::mouseClick(box.buttons().value(0), Qt::LeftButton);
    });
    return gelesen;
}

TEST(HilfeInfo, RealBoxesAreModalWithTitleIconAndOneOk)
{
    help::IHilfeUmgebung& system = help::SystemHilfeUmgebung();
    const GezeigteBox info = boxLesen([&] { HilfeMenue(system).InfoZeigen(nullptr); });
    EXPECT_EQ(info.titel, QStringLiteral("Informationen"));
    EXPECT_EQ(info.icon, QMessageBox::Information);
    EXPECT_EQ(info.knoepfe, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(info.text.split(QLatin1Char('\n')), HilfeMenue::InfoText().split(QStringLiteral("\r\n")));

    const GezeigteBox fehler = boxLesen([&] { system.FehlerBox(nullptr, QStringLiteral("a\r\nb")); });
    EXPECT_EQ(fehler.titel, QStringLiteral("Fehler"));
    EXPECT_EQ(fehler.icon, QMessageBox::Critical);
    EXPECT_EQ(fehler.knoepfe, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(fehler.text, QStringLiteral("a\nb"));
}

class HistoryViewerTest : public HilfeTestUmgebung {
protected:
    TFont schrift() const
    {
        TFont f;
        f.Name = "Liberation Serif";
        f.Height = -27;
        f.Color = ColorValue::fromRgb(0, 0, 128);
        return f;
    }
    static int fensterMitTitel(const QString& titel)
    {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += w->isVisible() && w->windowTitle() == titel;
        return n;
    }
};

TEST_F(HistoryViewerTest, ShowsTheFileInTheDisplayFontOnTheBackgroundOnce)
{
    dateiSchreiben(programmVerzeichnis() + "History.txt", "\xEF\xBB\xBFVersion 1.01\r\n- H\xC3\xB6he\r\n");
    HilfeMenue menue(umgebung());
    const ColorValue gelb = ColorValue::fromRgb(255, 255, 0);

    QPointer<help::HistoryViewer> erste = menue.AenderungenZeigen(nullptr, schrift(), gelb);
    ASSERT_TRUE(erste);
    EXPECT_EQ(erste->windowTitle(), QStringLiteral("History.txt - Zarnolith"));
    EXPECT_EQ(erste->toPlainText(), QStringLiteral("Version 1.01\n- Höhe\n"));
    EXPECT_TRUE(erste->isReadOnly());
    EXPECT_EQ(erste->font().pixelSize(), 27);
    EXPECT_EQ(erste->font().family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(erste->palette().color(QPalette::Base), QColor(255, 255, 0));
    EXPECT_EQ(erste->palette().color(QPalette::Text), QColor(0, 0, 128));
    // Sized from the font: room for a few dozen characters of it.
    EXPECT_GE(erste->width(), QFontMetrics(erste->font()).averageCharWidth() * 40);

    erste->showMinimized();
    help::HistoryViewer* zweite = menue.AenderungenZeigen(nullptr, schrift(), gelb);
    EXPECT_EQ(zweite, erste.data()) << "the second request must bring the open window to the front";
    EXPECT_FALSE(erste->isMinimized());
    EXPECT_TRUE(erste->isVisible());
    EXPECT_EQ(fensterMitTitel("History.txt - Zarnolith"), 1);

    QTest::keyClick(erste, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(erste.isNull()) << "Esc closes the window";
    EXPECT_EQ(fensterMitTitel("History.txt - Zarnolith"), 0);

    QPointer<help::HistoryViewer> dritte = menue.AenderungenZeigen(nullptr, schrift(), gelb);
    EXPECT_TRUE(dritte && dritte->isVisible());
    delete dritte;
}

struct LeseRow {
    QByteArray bytes;
    const char16_t* text;
};

class HistoryLesenTest : public HilfeTestUmgebung, public ::testing::WithParamInterface<LeseRow> {};

TEST_P(HistoryLesenTest, ReadsUtf8OrFallsBackToCodePage1252)
{
    const QString pfad = programmVerzeichnis() + "History.txt";
    dateiSchreiben(pfad, GetParam().bytes);
    EXPECT_EQ(help::HistoryViewer::DateiLesen(pfad), QString::fromUtf16(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Rows, HistoryLesenTest, ::testing::Values(
    LeseRow{"Gr\xC3\xB6\xC3\x9F" "e\r\n\xE2\x82\xAC", u"Größe\n€"},
    LeseRow{"Gr\xF6\xDF" "e\r\n\x80 \x84" "a\rb", u"Größe\n€ „a\nb"},
    LeseRow{"", u""}));

TEST_F(HilfeTestUmgebung, MissingHistoryFileShowsAMessageInsteadOfText)
{
    EXPECT_FALSE(help::HistoryViewer::DateiLesen(programmVerzeichnis() + "History.txt").has_value());
    HilfeMenue menue(umgebung());
    QPointer<help::HistoryViewer> anzeige = menue.AenderungenZeigen(nullptr, TFont{}, ColorValue{0xFFFFFF});
    ASSERT_TRUE(anzeige);
    EXPECT_TRUE(anzeige->toPlainText().contains("konnte nicht gelesen werden"));
    delete anzeige;
}

} // namespace
