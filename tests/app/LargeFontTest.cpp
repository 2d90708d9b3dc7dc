// Large display fonts: at every size from 8 to 72 points no caption and no
// field text is cut off in any window, and the windows stay in their layout.
#include "WindowTestSupport.h"

#include "TextRoomProbe.h"
#include "appearance/FontWindow.h"
#include "appearance/THintergrundForm.h"
#include "appearance/TListBox.h"
#include "help/HistoryViewer.h"
#include "ui/DialogPlacement.h"
#include "ui/TextMeasure.h"

#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>

using namespace windowtest;

namespace {

// The widest texts each field can come to hold (typed or written).
const QStringList kNewValueTexts = {QStringLiteral("99999"), QStringLiteral("-9999"), QStringLiteral("88888")};
const QStringList kStartValueTexts = {QStringLiteral("9999"), QStringLiteral("8888"), QStringLiteral("-999")};

class LargeFonts : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        w.screenArea.screen = platform::ScreenRect{0, 0, 1920, 1080};
        w.screenArea.workArea = platform::ScreenRect{0, 0, 1920, 1040};
        // The first showing loads the stored display settings; the size is chosen
        // after it and applied the way the font command does: through HintergrundNr.
        w.form->show();
        w.form->Timer1->stop(); // no start-up dialog; the dialog is shown here without its modal loop
        w.form->FontDialog1Font.setSize(GetParam());
        w.form->setHintergrundNr(w.form->HintergrundNr());
        ASSERT_EQ(w.form->Label1->font().pixelSize(), -w.form->FontDialog1Font.Height);
        w.pixel->SchriftartZuweisen();
        w.pixel->show();
        QApplication::processEvents();
    }

    Windows w;
};

TEST_P(LargeFonts, MainWindowAndStartValuesDialogShowEveryTextWhole)
{
    TForm1& f = *w.form;
    ExpectWindowTextsWhole(f); // captions, the button and the status hint
    ExpectWindowTextsWhole(*PixelForm);
    for (QLineEdit* e : {f.Edit1, f.Edit2, PixelForm->SpinEdit1->editor(), PixelForm->SpinEdit2->editor()})
        ExpectFieldShows(*e, kStartValueTexts);
    for (TSpinEdit* s : {f.SpinEdit1, f.SpinEdit2})
        ExpectFieldShows(*s->editor(), kNewValueTexts);

    // The status panel sits inside the bar, the bar inside the client area.
    EXPECT_TRUE(f.centralWidget()->rect().contains(f.StatusBar1->geometry()));
    EXPECT_TRUE(f.StatusBar1->rect().contains(f.StatusPanel->geometry()));
}

TEST_P(LargeFonts, BackgroundDialogShowsEveryTextAndAllNineteenColours)
{
    THintergrundForm& d = *w.form->HintergrundForm();
    d.SchriftartZuweisen(*AnzeigeSchrift, AnzeigeHintergrund);
    d.ListBox1->setItemIndex(18); // the last entry, "Braun"
    d.show();
    QApplication::processEvents();
    ExpectWindowTextsWhole(d);
    const int line = HoeheFuerSchrift(d.ListBox1->font(), *d.ListBox1);
    if (d.ListBox1->height() == 20 * line) {
        // The list is 20 lines tall: every colour name is in view at once.
        for (int i = 0; i < d.ListBox1->count(); ++i)
            EXPECT_TRUE(d.ListBox1->viewport()->rect().contains(d.ListBox1->visualItemRect(d.ListBox1->item(i))))
                << d.ListBox1->item(i)->text().toStdString();
    } else {
        // A list that the work area keeps shorter scrolls, the selection in view.
        // Shortened only where the 20 lines' dialog (client 3R + 21L + 12) would not fit.
        const int workHeight = w.screenArea.workArea->height;
        EXPECT_GT(3 * 10 + 21 * line + 12 + AroundWindow(d).height(), workHeight);
        EXPECT_LE(OuterSize(d).height(), workHeight);
        EXPECT_TRUE(d.ListBox1->viewport()->rect().contains(d.ListBox1->visualItemRect(d.ListBox1->currentItem())));
    }
}

TEST_P(LargeFonts, FontDialogShowsEveryText)
{
    FontWindow d(*AnzeigeSchrift, w.form.get());
    d.show();
    QApplication::processEvents();
    ExpectWindowTextsWhole(d);
}

TEST_P(LargeFonts, ControlsDoNotOverlapAndStayInsideTheirWindow)
{
    const auto check = [](QWidget& client, const std::vector<QWidget*>& controls) {
        for (std::size_t i = 0; i < controls.size(); ++i) {
            EXPECT_TRUE(client.rect().contains(controls[i]->geometry())) << controls[i]->objectName().toStdString();
            for (std::size_t j = i + 1; j < controls.size(); ++j)
                EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                    << controls[i]->objectName().toStdString() << " / " << controls[j]->objectName().toStdString();
        }
    };
    TForm1& f = *w.form;
    check(
        *f.centralWidget(),
        {f.Label1, f.Label2, f.Label3, f.Label4, f.Edit1, f.Edit2, f.SpinEdit1, f.SpinEdit2, f.Button1, f.StatusBar1});
    check(*PixelForm,
          {PixelForm->Label1, PixelForm->SpinEdit1, PixelForm->Label2, PixelForm->SpinEdit2, PixelForm->Button1,
           PixelForm->Button2});
}

// In every window of the program, no control covers a sibling and every list
// item has room for its text.
TEST_P(LargeFonts, NoControlCoversAnotherInAnyWindow)
{
    TForm1& f = *w.form;
    THintergrundForm& colours = *f.HintergrundForm();
    colours.SchriftartZuweisen(*AnzeigeSchrift, AnzeigeHintergrund);
    colours.show();
    FontWindow fonts(*AnzeigeSchrift, &f);
    fonts.show();
    QTemporaryDir dir;
    const QString history = dir.filePath(QStringLiteral("History.txt"));
    QFile file(history);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("V1.01: erste Fassung\n");
    file.close();
    help::HistoryViewer viewer(history, f.FontDialog1Font, AnzeigeHintergrund, &f);
    viewer.show();
    QApplication::processEvents();
    for (QWidget* window : std::initializer_list<QWidget*>{&f, PixelForm, &colours, &fonts, &viewer}) {
        SCOPED_TRACE(window->metaObject()->className());
        ExpectNoSiblingOverlap(*window);
        ExpectWindowTextsWhole(*window);
    }
}

// However large a window grows (beyond the screen at the largest sizes), the
// Tab key still visits every control in it, so nothing needs the mouse.
TEST_P(LargeFonts, TabVisitsEveryControlWhateverTheWindowSize)
{
    const auto tabCycle = [](QWidget* window, QWidget* first) {
        QApplication::setActiveWindow(window);
        first->setFocus(Qt::TabFocusReason);
        std::set<QWidget*> visited;
        for (int i = 0; i < 12 && visited.insert(QApplication::focusWidget()).second; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return visited;
    };
    TForm1& f = *w.form;
    const std::set<QWidget*> main = {f.Edit1, f.Edit2, f.SpinEdit1->editor(), f.SpinEdit2->editor(), f.Button1};
    EXPECT_EQ(tabCycle(&f, f.Edit1), main);
    const std::set<QWidget*> dialog
        = {PixelForm->SpinEdit1->editor(), PixelForm->SpinEdit2->editor(), PixelForm->Button1, PixelForm->Button2};
    EXPECT_EQ(tabCycle(PixelForm, PixelForm->Button1), dialog);
    THintergrundForm& colours = *w.form->HintergrundForm();
    colours.SchriftartZuweisen(*AnzeigeSchrift, AnzeigeHintergrund);
    colours.show();
    EXPECT_EQ(tabCycle(&colours, colours.ListBox1),
              (std::set<QWidget*>{colours.ListBox1, colours.Button1, colours.Button2}));

    // The outer sizes, for the record (a desktop's title bar and borders add to them).
    const auto size = [](const QWidget* window) {
        const QRect r = window->frameGeometry();
        return std::to_string(r.width()) + "x" + std::to_string(r.height());
    };
    RecordProperty("main_window", size(&f));
    RecordProperty("start_values_dialog", size(PixelForm));
    RecordProperty("background_dialog", size(&colours));
    FontWindow fonts(*AnzeigeSchrift, &f);
    fonts.show();
    RecordProperty("font_dialog", size(&fonts));
}

INSTANTIATE_TEST_SUITE_P(Points, LargeFonts, ::testing::Values(8, 14, 28, 48, 72));

} // namespace
