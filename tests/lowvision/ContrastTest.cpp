// Every text the three windows show is readable on every text background, in
// the scheme of the session: 4.5:1 at least between each label's, field's,
// list entry's and the status line's text and its own background, read from
// the pixels drawn. The stored text colour stays the system colour.
#include "ContrastSupport.h"

#include <QLineEdit>
#include <QListWidget>

#include <cstdio>

using namespace lowvision;

namespace {

struct Worst {
    double ratio = 21.0;
    std::string where;
    void take(double r, const std::string& w)
    {
        if (r < ratio) {
            ratio = r;
            where = w;
        }
    }
};

class TextContrast : public ::testing::TestWithParam<int> {};

TEST_P(TextContrast, EveryLabelFieldAndListEntryIsReadableOnEveryBackground)
{
    const int points = GetParam();
    windowtest::Windows w;
    showMainWindow(w);
    setDisplayFont(points);
    THintergrundForm* dialog = w.form->HintergrundForm();
    int measured = 0;
    int offScreen = 0;

    std::printf("text contrast, %s scheme, %d pt: background: main window / start values / background list\n",
                schemeName(), points);
    for (int nr = 0; nr < ColorCount; ++nr) {
        const std::string name = colourName(nr);
        SCOPED_TRACE(name);
        Worst mainWorst, pixelWorst, listWorst;

        auto check = [&](Worst& worst, QWidget* control, const QImage& image, const QRect& region, bool chosenBack,
                         const char* what) {
            if (!onScreen(control)) {
                ++offScreen;
                return;
            }
            ++measured;
            const TextReading r = readText(image, region);
            worst.take(r.ratio, what);
            EXPECT_GE(r.ratio, kReadableTextContrast)
                << what << ": " << r.text.name().toStdString() << " on " << r.background.name().toStdString();
            if (chosenBack) {
                EXPECT_EQ(r.background.rgb(), tableColour(nr).rgb()) << what << " on the chosen background";
            }
        };
        auto checkLabel = [&](Worst& worst, QLabel* label, const char* what) {
            check(worst, label, shot(label), label->rect(), true, what);
        };
        auto checkEdit = [&](Worst& worst, QLineEdit* edit, const char* what) {
            check(worst, edit, shot(edit), fieldTextArea(edit, edit->width()), true, what);
        };
        auto checkSpin = [&](Worst& worst, TSpinEdit* spin, const char* what) {
            check(worst, spin, shot(spin), fieldTextArea(spin, spin->buttons()->x()), true, what);
        };

        // The main window, the focus on its button so no field shows a selection.
        w.form->setHintergrundNr(nr);
        showAlone(w.form.get(), {PixelForm, dialog});
        w.form->Button1->setFocus();
        w.form->repaint();
        checkLabel(mainWorst, w.form->Label1, "Label1");
        checkLabel(mainWorst, w.form->Label2, "Label2");
        checkLabel(mainWorst, w.form->Label3, "Label3");
        checkLabel(mainWorst, w.form->Label4, "Label4");
        checkEdit(mainWorst, w.form->Edit1, "Edit1");
        checkEdit(mainWorst, w.form->Edit2, "Edit2");
        checkSpin(mainWorst, w.form->SpinEdit1, "SpinEdit1");
        checkSpin(mainWorst, w.form->SpinEdit2, "SpinEdit2");
        {
            const QImage bar = shot(w.form->StatusBar1);
            check(mainWorst, w.form->StatusBar1, bar, w.form->StatusPanel->geometry(), true, "StatusBar1");
        }

        // The start-values dialog as the command shows it.
        PixelForm->SchriftartZuweisen();
        showAlone(PixelForm, {dialog});
        PixelForm->Button2->setFocus();
        PixelForm->repaint();
        checkLabel(pixelWorst, PixelForm->Label1, "PixelForm.Label1");
        checkLabel(pixelWorst, PixelForm->Label2, "PixelForm.Label2");
        checkSpin(pixelWorst, PixelForm->SpinEdit1, "PixelForm.SpinEdit1");
        checkSpin(pixelWorst, PixelForm->SpinEdit2, "PixelForm.SpinEdit2");
        PixelForm->hide();

        // The background dialog: an entry that is not selected, and the selected one.
        dialog->SchriftartZuweisen(*AnzeigeSchrift, dialog->HintergrundFarbe());
        showAlone(dialog, {PixelForm});
        TListBox* list = dialog->ListBox1;
        ASSERT_EQ(list->ItemIndex(), nr);
        const int other = nr == 0 ? 1 : 0;
        list->scrollToItem(list->item(other));
        QApplication::processEvents();
        {
            const QImage view = shot(list->viewport());
            check(listWorst, list, view, list->visualItemRect(list->item(other)), true, "ListBox1 entry");
        }
        list->scrollToItem(list->item(nr));
        QApplication::processEvents();
        {
            const QImage view = shot(list->viewport());
            check(listWorst, list, view, list->visualItemRect(list->item(nr)), false, "ListBox1 selected entry");
        }
        dialog->hide();

        std::printf("  %-11s %5.2f %-22s %5.2f %-22s %5.2f %s\n", name.c_str(), mainWorst.ratio,
                    mainWorst.where.c_str(), pixelWorst.ratio, pixelWorst.where.c_str(), listWorst.ratio,
                    listWorst.where.c_str());
        EXPECT_EQ(AnzeigeSchrift->Color.raw, ColorValue::clWindowText) << "drawing leaves the stored colour";
    }
    if (offScreen)
        std::printf("  (%d controls beyond the screen's edge not read)\n", offScreen);
    EXPECT_GE(measured, ColorCount * 8) << "most controls are on the screen";
}

// 14 points is the default; 48 and 72 are large display fonts.
INSTANTIATE_TEST_SUITE_P(Points, TextContrast, ::testing::Values(14, 48, 72));

// The settings a user never changed stay as they were: the text colour is
// saved as the system colour, not as the black or white it is drawn in.
TEST(TextContrastSettings, SavingKeepsTheSystemTextColour)
{
    windowtest::Windows w;
    showMainWindow(w);
    setDisplayFont(14);
    w.form->setHintergrundNr(0); // black, where the system text colour cannot stay
    w.form->RegistryLadenSpeichern(false);
    AnzeigeSchrift->Color = ColorValue{0x000000FFu};
    w.form->RegistryLadenSpeichern(true);
    EXPECT_EQ(AnzeigeSchrift->Color.raw, ColorValue::clWindowText);
    EXPECT_EQ(w.form->HintergrundNr(), 0);
}

// A colour the user picked is the user's: drawn as picked, even where faint.
TEST(TextContrastSettings, ChosenTextColourIsDrawnAsChosen)
{
    windowtest::Windows w;
    showMainWindow(w);
    setDisplayFont(14);
    AnzeigeSchrift->Color = ColorValue::fromRgb(0, 0, 128);
    w.form->setHintergrundNr(4); // Marineblau: the same navy
    EXPECT_EQ(w.form->Label1->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(w.form->Edit1->palette().color(QPalette::Text), QColor(0, 0, 128));
}

} // namespace
