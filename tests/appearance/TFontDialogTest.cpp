// The font command's dialog: what it writes back into the display font, and
// that the window itself stays on the screen however large the font.
#include "appearance/TFontDialog.h"

#include "appearance/SchriftSkripte.h"
#include "appearance/SchriftartFenster.h"
#include "support/ModalLoop.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(SchriftWahlUebernehmen, ColourAndCharsetOnlyWhenChosenBoldAboveNormalWeight)
{
    TFont basis;
    basis.Name = QStringLiteral("Liberation Mono");
    basis.Color.raw = ColorValue::clWindowText;
    basis.Charset = 204;

    SchriftWahl w;
    w.Name = QStringLiteral("Liberation Serif");
    w.Punkte = 20;
    w.Gewicht = 401;
    w.Kursiv = true;
    w.Durchgestrichen = true;
    TFont f = basis;
    SchriftWahlUebernehmen(f, w);
    EXPECT_EQ(f.Name, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(f.Size(), 20);
    EXPECT_EQ(f.Style, (TFontStyles{true, true, false, true}));
    EXPECT_EQ(f.Color.raw, ColorValue::clWindowText) << "no colour picked";
    EXPECT_EQ(f.Charset, 204) << "script and face untouched";

    w.Gewicht = 400;
    w.Farbe = ColorValue{0x0000FF};
    w.Zeichensatz = 0;
    SchriftWahlUebernehmen(f, w);
    EXPECT_FALSE(f.Style.bold);
    EXPECT_EQ(f.Color.raw, 0x0000FFu);
    EXPECT_EQ(f.Charset, 0);
}

TEST(SchriftSkripte, LatinFaceOffersWesternFirstAndUnknownFaceWesternOnly)
{
    const std::vector<int> latein = SkripteDerSchrift(QStringLiteral("Liberation Sans"));
    ASSERT_FALSE(latein.empty());
    EXPECT_EQ(latein.front(), 0);
    EXPECT_NE(std::find(latein.begin(), latein.end(), 238), latein.end());
    EXPECT_EQ(SkripteDerSchrift(QStringLiteral("Gibt Es Nicht 12345")), std::vector<int>{0});
    EXPECT_EQ(SkriptName(204), QStringLiteral("Kyrillisch"));
    EXPECT_EQ(SkriptName(161), QStringLiteral("Griechisch"));
    EXPECT_EQ(SkriptName(99), QStringLiteral("Zeichensatz 99"));
}

// Runs Execute; the action gets the window once it is up and decides how it ends.
bool ausfuehren(TFontDialog& dialog, const std::function<void(SchriftartFenster&)>& aktion)
{
    bool ok = false;
    EXPECT_TRUE(modaltest::actInModal<SchriftartFenster>([&] { ok = dialog.Execute(nullptr); }, aktion).shown);
    return ok;
}

void waehleFamilie(SchriftartFenster& f, const QString& name)
{
    const QList<QListWidgetItem*> treffer = f.NameListe->findItems(name, Qt::MatchExactly);
    ASSERT_FALSE(treffer.isEmpty()) << name.toStdString();
    QTest::mouseClick(f.NameListe->viewport(), Qt::LeftButton, {}, f.NameListe->visualItemRect(treffer[0]).center());
}

class FontDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog.Font.Name = QStringLiteral("Liberation Sans");
        dialog.Font.setSize(14);
        dialog.Font.Color.raw = ColorValue::clWindowText;
        dialog.Font.Charset = 77; // a set the face does not offer: it shows whether the set is written
    }
    TFontDialog dialog;
};

TEST_F(FontDialog, ConfirmingUnchangedKeepsSystemColourAndCharset)
{
    const TFont vorher = dialog.Font;
    EXPECT_TRUE(ausfuehren(dialog, [](SchriftartFenster& f) { QTest::keyClick(f.NameEdit, Qt::Key_Return); }));
    EXPECT_EQ(dialog.Font, vorher);
    EXPECT_EQ(dialog.Font.Color.raw, 0xFF000008u) << "still the system colour, not its RGB value";
}

TEST_F(FontDialog, ConfirmedChoicesAreWrittenInPlace)
{
    EXPECT_TRUE(ausfuehren(dialog, [](SchriftartFenster& f) {
        waehleFamilie(f, QStringLiteral("Liberation Serif"));
        QTest::mouseClick(f.StilListe->viewport(), Qt::LeftButton, {},
                          f.StilListe->visualItemRect(f.StilListe->item(3)).center()); // Fett Kursiv
        f.GroesseEdit->clear();
        QTest::keyClicks(f.GroesseEdit, QStringLiteral("37"));
        QTest::mouseClick(f.Unterstrichen, Qt::LeftButton);
        QTest::mouseClick(f.OkButton, Qt::LeftButton);
    }));
    EXPECT_EQ(dialog.Font.Name, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(dialog.Font.Size(), 37);
    EXPECT_EQ(dialog.Font.Style, (TFontStyles{true, true, true, false}));
    EXPECT_EQ(dialog.Font.Charset, 0) << "a new face brings its script";
    EXPECT_EQ(dialog.Font.Color.raw, 0xFF000008u) << "no colour was picked";
}

TEST_F(FontDialog, PickedColourAndScriptAreWritten)
{
    EXPECT_TRUE(ausfuehren(dialog, [](SchriftartFenster& f) {
        f.FarbBox->setFocus();
        QTest::keyClick(f.FarbBox, Qt::Key_Down); // from "Fenstertext" to "Schwarz"
        const int westlich = f.SkriptBox->findData(0);
        ASSERT_GE(westlich, 0);
        f.SkriptBox->setFocus();
        while (f.SkriptBox->currentIndex() != westlich)
            QTest::keyClick(f.SkriptBox, f.SkriptBox->currentIndex() < westlich ? Qt::Key_Down : Qt::Key_Up);
        QTest::keyClick(f.SkriptBox, Qt::Key_Return);
    }));
    EXPECT_EQ(dialog.Font.Color.raw, 0x000000u);
    EXPECT_EQ(dialog.Font.Charset, 0);
    EXPECT_EQ(dialog.Font.Name, QStringLiteral("Liberation Sans"));
}

// The box opens on the start colour: a listed one by its name, any other as an
// extra first entry.
TEST_F(FontDialog, ColourBoxOpensOnTheStartColour)
{
    struct Zeile {
        std::uint32_t start;
        const char* name;
        int eintraege;
    };
    for (const Zeile& z : {Zeile{0x0000FF, "Rot", 16}, Zeile{0xFFFF00, "Aquamarin", 16}, Zeile{0x000000, "Schwarz", 16},
                           Zeile{ColorValue::clWindowText, "Fenstertext", 17}, Zeile{0x123456, "Benutzerdefiniert", 17}}) {
        dialog.Font.Color.raw = z.start;
        EXPECT_FALSE(ausfuehren(dialog, [&](SchriftartFenster& f) {
            EXPECT_EQ(f.FarbBox->currentText(), QString::fromUtf8(z.name));
            EXPECT_EQ(f.FarbBox->currentData().toUInt(), z.start) << z.name;
            EXPECT_EQ(f.FarbBox->count(), z.eintraege) << z.name;
            f.reject();
        }));
    }
}

TEST_F(FontDialog, CancelChangesNothing)
{
    const TFont vorher = dialog.Font;
    const std::function<void(SchriftartFenster&)> wege[] = {
        [](SchriftartFenster& f) { QTest::keyClick(f.NameEdit, Qt::Key_Escape); },
        [](SchriftartFenster& f) { QTest::mouseClick(f.AbbrechenButton, Qt::LeftButton); },
        [](SchriftartFenster& f) { f.close(); },
    };
    for (const auto& weg : wege) {
        EXPECT_FALSE(ausfuehren(dialog, [&](SchriftartFenster& f) {
            waehleFamilie(f, QStringLiteral("Liberation Mono"));
            QTest::mouseClick(f.Durchgestrichen, Qt::LeftButton);
            f.FarbBox->setFocus();
            QTest::keyClick(f.FarbBox, Qt::Key_Down);
            weg(f);
        }));
        EXPECT_EQ(dialog.Font, vorher);
    }
}

TEST_F(FontDialog, SizeThatIsNoNumberKeepsTheWindowOpen)
{
    bool meldung = false;
    EXPECT_TRUE(ausfuehren(dialog, [&](SchriftartFenster& f) {
        f.GroesseEdit->clear();
        modaltest::actInModal<QMessageBox>([&] { QTest::mouseClick(f.OkButton, Qt::LeftButton); },
                                           [&](QMessageBox& box) {
                                               meldung = true;
                                               box.accept();
                                           });
        EXPECT_TRUE(f.isVisible());
        QTest::keyClicks(f.GroesseEdit, QStringLiteral("12"));
        QTest::mouseClick(f.OkButton, Qt::LeftButton);
    }));
    EXPECT_TRUE(meldung);
    EXPECT_EQ(dialog.Font.Size(), 12);
}

// A stored size outside any usual range (0, negative, huge) neither blocks OK
// nor is changed when left alone; any size the font can hold may be typed.
class GespeicherteGroesse : public FontDialog, public ::testing::WithParamInterface<int> {};

TEST_P(GespeicherteGroesse, BlocksNothingAndStaysAsItWasWhenUntouched)
{
    TFont::setPixelsPerInchOverride(96);
    dialog.Font.setSize(GetParam()); // as the settings load does
    const int hoehe = dialog.Font.Height;
    int meldungen = 0;
    const auto meldungenZaehlen = [&] {
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++meldungen;
                box->accept();
            }
        });
    };
    EXPECT_TRUE(ausfuehren(dialog, [&](SchriftartFenster& f) {
        EXPECT_EQ(f.GroesseEdit->text(), QString::number(dialog.Font.Size()));
        waehleFamilie(f, QStringLiteral("Liberation Serif"));
        meldungenZaehlen();
        QTest::mouseClick(f.OkButton, Qt::LeftButton);
    }));
    EXPECT_EQ(meldungen, 0);
    EXPECT_EQ(dialog.Font.Name, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(dialog.Font.Height, hoehe) << "the size was not touched";

    // Typed sizes: the same kind is accepted, one beyond the font's height is refused.
    for (const QString& getippt : {QStringLiteral("0"), QStringLiteral("-14"), QStringLiteral("100000"),
                                   QString::number(TFont::GroesstePunkte()), QStringLiteral("99999999999")}) {
        bool zuGross = false;
        const bool ok = ausfuehren(dialog, [&](SchriftartFenster& f) {
            f.GroesseEdit->clear();
            QTest::keyClicks(f.GroesseEdit, getippt);
            if (f.GroesseEdit->text() != getippt) {
                zuGross = true; // the field took no more digits than the font can hold
                f.GroesseEdit->setText(getippt);
            }
            meldungenZaehlen();
            QTest::mouseClick(f.OkButton, Qt::LeftButton);
            if (f.isVisible()) {
                zuGross = true;
                f.reject();
            }
        });
        if (getippt.size() > 10) {
            EXPECT_TRUE(zuGross && !ok) << getippt.toStdString();
        } else {
            EXPECT_TRUE(ok) << getippt.toStdString();
            EXPECT_EQ(dialog.Font.Size(), getippt.toInt()) << getippt.toStdString();
        }
    }
    TFont::setPixelsPerInchOverride(0);
}

INSTANTIATE_TEST_SUITE_P(Stored, GespeicherteGroesse, ::testing::Values(0, -14, 100000, 2147483647, 14, 1),
                         [](const auto& info) { return "Row" + std::to_string(info.index); });

class EigeneSchrift : public ::testing::TestWithParam<int> {};

TEST_P(EigeneSchrift, WindowUsesTheDisplayFontAsFarAsTheScreenAllows)
{
    TFont schrift;
    schrift.Name = QStringLiteral("Liberation Sans");
    schrift.setSize(GetParam());
    SchriftartFenster fenster(schrift);
    const QSize platz = fenster.screen()->availableGeometry().size();
    EXPECT_LE(fenster.width(), platz.width());
    EXPECT_LE(fenster.height(), platz.height());
    EXPECT_LE(fenster.font().pixelSize(), schrift.AngewandtePixelHoehe());
    EXPECT_EQ(fenster.font().family(), QStringLiteral("Liberation Sans"));
    if (GetParam() <= 12) {
        EXPECT_EQ(fenster.font().pixelSize(), schrift.AngewandtePixelHoehe()) << "a modest font is used as it is";
    } else if (GetParam() >= 200) {
        EXPECT_LT(fenster.font().pixelSize(), schrift.AngewandtePixelHoehe()) << "a huge one is capped";
    }
    EXPECT_EQ(fenster.Beispiel->font().pixelSize(), schrift.AngewandtePixelHoehe()) << "the sample shows the real size";
}

INSTANTIATE_TEST_SUITE_P(Sizes, EigeneSchrift, ::testing::Values(9, 12, 30, 200, 400));

} // namespace
