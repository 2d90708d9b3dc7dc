// Every control that takes the keyboard focus shows it clearly: the pixels
// that change with the focus differ from the unfocused look by 3:1 or more,
// stand 3:1 from the control's background, and form a frame on all four sides
// at least 2 pixels thick that grows with the control's font. The selected
// entry of the background list stands out from the others by 3:1 or more.
#include "ContrastSupport.h"

#include <QLineEdit>
#include <QPushButton>

#include <cstdio>
#include <map>

using namespace lowvision;

namespace {

// The thinnest frame that still shows beside the font: 2 pixels, a
// fourteenth of a line beside a large one.
int requiredThickness(const QWidget* control) { return std::max(2, control->fontMetrics().height() / 14); }

struct KindSummary {
    int thinnest = 1 << 20;
    double faintest = 21.0;       // changed pixels
    double framedFaintest = 21.0; // the frame's own pixels
};

class FocusContrast : public ::testing::TestWithParam<int> {
protected:
    std::map<std::string, KindSummary> summary;

    // Focus on `control`, then on `away`: the two looks of `control`.
    void checkFocus(QWidget* window, QWidget* control, QWidget* away, const std::string& kind, const std::string& bg)
    {
        if (!onScreen(control))
            return;
        control->setFocus(Qt::TabFocusReason);
        if (auto* spin = qobject_cast<TSpinEdit*>(control))
            spin->editor()->deselect(); // the frame, not the selected text, is measured
        window->repaint();
        QApplication::processEvents();
        ASSERT_TRUE(control->hasFocus()) << kind;
        const QImage focused = shot(control);
        away->setFocus(Qt::TabFocusReason);
        window->repaint();
        QApplication::processEvents();
        ASSERT_FALSE(control->hasFocus()) << kind;
        const QImage plain = shot(control);

        const QPalette::ColorRole face = qobject_cast<QPushButton*>(control) ? QPalette::Button : QPalette::Base;
        const FocusReading r = readFocus(focused, plain, control->palette().color(face));
        if (!qEnvironmentVariableIsEmpty("ZARNOLITH_TEST_SHOTS")) {
            const QString base = qEnvironmentVariable("ZARNOLITH_TEST_SHOTS")
                + QStringLiteral("/%1-%2-%3")
                      .arg(QString::fromStdString(kind), QString::fromStdString(bg))
                      .arg(control->fontMetrics().height());
            focused.save(base + QStringLiteral("-focused.png"));
            plain.save(base + QStringLiteral("-plain.png"));
        }
        KindSummary& s = summary[kind];
        s.thinnest = std::min(s.thinnest, r.thickness);
        s.faintest = std::min(s.faintest, r.contrast);
        s.framedFaintest = std::min(s.framedFaintest, r.indicator);
        EXPECT_GE(r.thickness, requiredThickness(control)) << kind << " on " << bg << ": focus frame " << r.thickness
                                                           << " px, changed pixels at " << r.contrast << ":1";
    }
};

TEST_P(FocusContrast, EveryControlShowsTheFocusOnEveryBackground)
{
    const int points = GetParam();
    windowtest::Windows w;
    showMainWindow(w);
    setDisplayFont(points);
    THintergrundForm* dialog = w.form->HintergrundForm();
    double faintestSelection = 21.0;

    for (int nr = 0; nr < ColorCount; ++nr) {
        const std::string bg = colourName(nr);
        SCOPED_TRACE(bg);
        w.form->setHintergrundNr(nr);
        showAlone(w.form.get(), {PixelForm, dialog});
        checkFocus(w.form.get(), w.form->Edit1, w.form->Button1, "edit field (read-only)", bg);
        checkFocus(w.form.get(), w.form->SpinEdit1, w.form->Button1, "number field", bg);
        checkFocus(w.form.get(), w.form->Button1, w.form->Edit2, "push button", bg);

        PixelForm->SchriftartZuweisen();
        showAlone(PixelForm, {dialog});
        checkFocus(PixelForm, PixelForm->SpinEdit2, PixelForm->Button2, "number field", bg);
        checkFocus(PixelForm, PixelForm->Button1, PixelForm->SpinEdit1, "default button", bg);
        PixelForm->hide();

        dialog->SchriftartZuweisen(*AnzeigeSchrift, dialog->HintergrundFarbe());
        showAlone(dialog, {PixelForm});
        checkFocus(dialog, dialog->ListBox1, dialog->Button2, "list", bg);

        // The selected entry against another one, both in view.
        TListBox* list = dialog->ListBox1;
        list->setFocus();
        const int other = nr == 0 ? 1 : nr - 1;
        list->scrollToItem(list->item(nr));
        dialog->repaint();
        QApplication::processEvents();
        const QRect selectedRect = list->visualItemRect(list->item(nr));
        const QRect otherRect = list->visualItemRect(list->item(other));
        if (!onScreen(list->viewport(), selectedRect) || !onScreen(list->viewport(), otherRect)) {
            dialog->hide();
            continue;
        }
        const QImage view = shot(list->viewport());
        const QColor selected = dominant(view, list->visualItemRect(list->item(nr)));
        const QColor unselected = dominant(view, list->visualItemRect(list->item(other)));
        const double apart = ContrastRatio(selected, unselected);
        faintestSelection = std::min(faintestSelection, apart);
        EXPECT_GE(apart, 3.0) << "selected entry " << selected.name().toStdString() << " beside "
                              << unselected.name().toStdString();
        dialog->hide();
    }

    std::printf("focus, %s scheme, %d pt, over the 19 backgrounds: thinnest frame, faintest median change in the "
                "outer third, faintest median of the frame's own pixels:\n",
                schemeName(), points);
    for (const auto& [kind, s] : summary)
        std::printf("  %-24s %3d px  %5.2f:1  %5.2f:1\n", kind.c_str(), s.thinnest, s.faintest, s.framedFaintest);
    std::printf("  %-24s         %5.2f:1\n", "selected list entry", faintestSelection);
}

INSTANTIATE_TEST_SUITE_P(Points, FocusContrast, ::testing::Values(14, 48, 72));

} // namespace
