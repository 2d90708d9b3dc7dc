// The font command's dialog: what it writes back into the display font, and
// that the window itself stays on the screen however large the font.
#include "appearance/TFontDialog.h"

#include "appearance/FontScripts.h"
#include "appearance/FontWindow.h"
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

TEST(ApplyFontChoice, ColourAndCharsetOnlyWhenChosenBoldAboveNormalWeight)
{
    TFont basis;
    basis.Name = QStringLiteral("Liberation Mono");
    basis.Color.raw = ColorValue::clWindowText;
    basis.Charset = 204;

    FontChoice w;
    w.Name = QStringLiteral("Liberation Serif");
    w.Points = 20;
    w.Weight = 401;
    w.Italic = true;
    w.StruckOut = true;
    TFont f = basis;
    ApplyFontChoice(f, w);
    EXPECT_EQ(f.Name, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(f.Size(), 20);
    EXPECT_EQ(f.Style, (TFontStyles{true, true, false, true}));
    EXPECT_EQ(f.Color.raw, ColorValue::clWindowText) << "no colour picked";
    EXPECT_EQ(f.Charset, 204) << "script and face untouched";

    w.Weight = 400;
    w.Color = ColorValue{0x0000FF};
    w.Charset = 0;
    ApplyFontChoice(f, w);
    EXPECT_FALSE(f.Style.bold);
    EXPECT_EQ(f.Color.raw, 0x0000FFu);
    EXPECT_EQ(f.Charset, 0);
}

TEST(FontScripts, LatinFaceOffersWesternFirstAndUnknownFaceWesternOnly)
{
    const std::vector<int> latin = ScriptsOfFont(QStringLiteral("Liberation Sans"));
    ASSERT_FALSE(latin.empty());
    EXPECT_EQ(latin.front(), 0);
    EXPECT_NE(std::find(latin.begin(), latin.end(), 238), latin.end());
    EXPECT_EQ(ScriptsOfFont(QStringLiteral("Gibt Es Nicht 12345")), std::vector<int>{0});
    EXPECT_EQ(ScriptName(204), QStringLiteral("Kyrillisch"));
    EXPECT_EQ(ScriptName(161), QStringLiteral("Griechisch"));
    EXPECT_EQ(ScriptName(99), QStringLiteral("Zeichensatz 99"));
}

// Runs Execute; the action gets the window once it is up and decides how it ends.
bool runDialog(TFontDialog& dialog, const std::function<void(FontWindow&)>& step)
{
    bool ok = false;
    EXPECT_TRUE(modaltest::actInModal<FontWindow>([&] { ok = dialog.Execute(nullptr); }, step).shown);
    return ok;
}

void chooseFamily(FontWindow& f, const QString& name)
{
    const QList<QListWidgetItem*> hits = f.NameList->findItems(name, Qt::MatchExactly);
    ASSERT_FALSE(hits.isEmpty()) << name.toStdString();
    QTest::mouseClick(f.NameList->viewport(), Qt::LeftButton, {}, f.NameList->visualItemRect(hits[0]).center());
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
    const TFont fontBefore = dialog.Font;
    EXPECT_TRUE(runDialog(dialog, [](FontWindow& f) { QTest::keyClick(f.NameEdit, Qt::Key_Return); }));
    EXPECT_EQ(dialog.Font, fontBefore);
    EXPECT_EQ(dialog.Font.Color.raw, 0xFF000008u) << "still the system colour, not its RGB value";
}

TEST_F(FontDialog, ConfirmedChoicesAreWrittenInPlace)
{
    EXPECT_TRUE(runDialog(dialog, [](FontWindow& f) {
        chooseFamily(f, QStringLiteral("Liberation Serif"));
        QTest::mouseClick(f.StyleList->viewport(), Qt::LeftButton, {},
                          f.StyleList->visualItemRect(f.StyleList->item(3)).center()); // Fett Kursiv
        f.SizeEdit->clear();
        QTest::keyClicks(f.SizeEdit, QStringLiteral("37"));
        QTest::mouseClick(f.Underlined, Qt::LeftButton);
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
    EXPECT_TRUE(runDialog(dialog, [](FontWindow& f) {
        f.ColorBox->setFocus();
        QTest::keyClick(f.ColorBox, Qt::Key_Down); // from "Fenstertext" to "Schwarz"
        const int western = f.ScriptBox->findData(0);
        ASSERT_GE(western, 0);
        f.ScriptBox->setFocus();
        while (f.ScriptBox->currentIndex() != western)
            QTest::keyClick(f.ScriptBox, f.ScriptBox->currentIndex() < western ? Qt::Key_Down : Qt::Key_Up);
        QTest::keyClick(f.ScriptBox, Qt::Key_Return);
    }));
    EXPECT_EQ(dialog.Font.Color.raw, 0x000000u);
    EXPECT_EQ(dialog.Font.Charset, 0);
    EXPECT_EQ(dialog.Font.Name, QStringLiteral("Liberation Sans"));
}

// The box opens on the start colour: a listed one by its name, any other as an
// extra first entry.
TEST_F(FontDialog, ColourBoxOpensOnTheStartColour)
{
    struct FontRow {
        std::uint32_t start;
        const char* name;
        int dirEntries;
    };
    for (const FontRow& z :
         {FontRow{0x0000FF, "Rot", 16}, FontRow{0xFFFF00, "Aquamarin", 16}, FontRow{0x000000, "Schwarz", 16},
          FontRow{ColorValue::clWindowText, "Fenstertext", 17}, FontRow{0x123456, "Benutzerdefiniert", 17}}) {
        dialog.Font.Color.raw = z.start;
        EXPECT_FALSE(runDialog(dialog, [&](FontWindow& f) {
            EXPECT_EQ(f.ColorBox->currentText(), QString::fromUtf8(z.name));
            EXPECT_EQ(f.ColorBox->currentData().toUInt(), z.start) << z.name;
            EXPECT_EQ(f.ColorBox->count(), z.dirEntries) << z.name;
            f.reject();
        }));
    }
}

TEST_F(FontDialog, CancelChangesNothing)
{
    const TFont fontBefore = dialog.Font;
    const std::function<void(FontWindow&)> ways[] = {
        [](FontWindow& f) { QTest::keyClick(f.NameEdit, Qt::Key_Escape); },
        [](FontWindow& f) { QTest::mouseClick(f.CancelButton, Qt::LeftButton); },
        [](FontWindow& f) { f.close(); },
    };
    for (const auto& way : ways) {
        EXPECT_FALSE(runDialog(dialog, [&](FontWindow& f) {
            chooseFamily(f, QStringLiteral("Liberation Mono"));
            QTest::mouseClick(f.StruckOut, Qt::LeftButton);
            f.ColorBox->setFocus();
            QTest::keyClick(f.ColorBox, Qt::Key_Down);
            way(f);
        }));
        EXPECT_EQ(dialog.Font, fontBefore);
    }
}

TEST_F(FontDialog, SizeThatIsNoNumberKeepsTheWindowOpen)
{
    bool messageShown = false;
    EXPECT_TRUE(runDialog(dialog, [&](FontWindow& f) {
        f.SizeEdit->clear();
        modaltest::actInModal<QMessageBox>([&] { QTest::mouseClick(f.OkButton, Qt::LeftButton); },
                                           [&](QMessageBox& box) {
                                               messageShown = true;
                                               box.accept();
                                           });
        EXPECT_TRUE(f.isVisible());
        QTest::keyClicks(f.SizeEdit, QStringLiteral("12"));
        QTest::mouseClick(f.OkButton, Qt::LeftButton);
    }));
    EXPECT_TRUE(messageShown);
    EXPECT_EQ(dialog.Font.Size(), 12);
}

// A stored size outside any usual range (0, negative, huge) neither blocks OK
// nor is changed when left alone; any size the font can hold may be typed.
class SavedSize : public FontDialog, public ::testing::WithParamInterface<int> {};

TEST_P(SavedSize, BlocksNothingAndStaysAsItWasWhenUntouched)
{
    dialog.Font.PixelsPerInch = 96;
    dialog.Font.setSize(GetParam()); // as the settings load does
    const int pixelHeight = dialog.Font.Height;
    int messages = 0;
    const auto countMessages = [&] {
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++messages;
                box->accept();
            }
        });
    };
    EXPECT_TRUE(runDialog(dialog, [&](FontWindow& f) {
        EXPECT_EQ(f.SizeEdit->text(), QString::number(dialog.Font.Size()));
        chooseFamily(f, QStringLiteral("Liberation Serif"));
        countMessages();
        QTest::mouseClick(f.OkButton, Qt::LeftButton);
    }));
    EXPECT_EQ(messages, 0);
    EXPECT_EQ(dialog.Font.Name, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(dialog.Font.Height, pixelHeight) << "the size was not touched";

    // Typed sizes: the same kind is accepted, one beyond the font's height is refused.
    for (const QString& typed : {QStringLiteral("0"), QStringLiteral("-14"), QStringLiteral("100000"),
                                 QString::number(dialog.Font.LargestPoints()), QStringLiteral("99999999999")}) {
        bool tooLarge = false;
        const bool ok = runDialog(dialog, [&](FontWindow& f) {
            f.SizeEdit->clear();
            QTest::keyClicks(f.SizeEdit, typed);
            if (f.SizeEdit->text() != typed) {
                tooLarge = true; // the field took no more digits than the font can hold
                f.SizeEdit->setText(typed);
            }
            countMessages();
            QTest::mouseClick(f.OkButton, Qt::LeftButton);
            if (f.isVisible()) {
                tooLarge = true;
                f.reject();
            }
        });
        if (typed.size() > 10) {
            EXPECT_TRUE(tooLarge && !ok) << typed.toStdString();
        } else {
            EXPECT_TRUE(ok) << typed.toStdString();
            EXPECT_EQ(dialog.Font.Size(), typed.toInt()) << typed.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Stored, SavedSize, ::testing::Values(0, -14, 100000, 2147483647, 14, 1),
                         [](const auto& info) { return "Row" + std::to_string(info.index); });

class OwnFont : public ::testing::TestWithParam<int> {};

TEST_P(OwnFont, WindowUsesTheDisplayFontAsFarAsTheScreenAllows)
{
    TFont displayFont;
    displayFont.Name = QStringLiteral("Liberation Sans");
    displayFont.setSize(GetParam());
    FontWindow targetWindow(displayFont);
    const QSize room = targetWindow.screen()->availableGeometry().size();
    EXPECT_LE(targetWindow.width(), room.width());
    EXPECT_LE(targetWindow.height(), room.height());
    EXPECT_LE(targetWindow.font().pixelSize(), displayFont.AppliedPixelHeight());
    EXPECT_EQ(targetWindow.font().family(), QStringLiteral("Liberation Sans"));
    if (GetParam() <= 12) {
        EXPECT_EQ(targetWindow.font().pixelSize(), displayFont.AppliedPixelHeight())
            << "a modest font is used as it is";
    } else if (GetParam() >= 200) {
        EXPECT_LT(targetWindow.font().pixelSize(), displayFont.AppliedPixelHeight()) << "a huge one is capped";
    }
    EXPECT_EQ(targetWindow.Sample->font().pixelSize(), displayFont.AppliedPixelHeight())
        << "the sample shows the real size";
}

INSTANTIATE_TEST_SUITE_P(Sizes, OwnFont, ::testing::Values(9, 12, 30, 200, 400));

} // namespace
