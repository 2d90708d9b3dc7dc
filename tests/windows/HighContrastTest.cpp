// The three windows on a Windows desktop in a high-contrast scheme (white
// window text on black windows), read back from the screen as Windows shows
// them: on every one of the 19 text backgrounds each label's, field's, status
// line's, list entry's and button's text stands at least 4.5:1 from its own
// background, the selected list entry stands out from the others and carries
// readable text. The system
// text colour is meant for the scheme's black; on a light background the
// program must draw it in black instead. Every control that takes the focus
// shows it there as on any other desktop: a frame on all four sides, as thick
// as the font asks for, 3:1 from the unfocused look and from the background.
#include "lowvision/ContrastSupport.h"

#include "app/FocusFrameStyle.h"
#include "app/ZarnolithApplication.h"
#include "support/PrivateUserRegistry.h"

#include <QCursor>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

using namespace lowvision;

namespace {

// The pixels of `window` as the screen shows them (Windows' own image of the
// desktop), in logical coordinates. The screen shows a repaint a moment after
// the program made it: taken once it holds what the window renders but for a
// few stray pixels (two seconds at most; then as it is).
QImage screenShot(QWidget* window)
{
    const auto logical = [window](const QPixmap& pixels) {
        return pixels.toImage()
            .convertToFormat(QImage::Format_RGB32)
            .scaled(window->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    };
    const QImage rendered = logical(window->grab());
    const auto sameLook = [&rendered](const QImage& screen) {
        if (screen.size() != rendered.size())
            return false;
        qsizetype differing = 0;
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x)
                differing += screen.pixel(x, y) != rendered.pixel(x, y);
        return differing * 100 <= qsizetype(screen.width()) * screen.height();
    };
    QImage onScreen;
    const QDeadlineTimer deadline(2000);
    do {
        QApplication::processEvents();
        const QPoint at = window->mapToGlobal(QPoint(0, 0)) - window->screen()->geometry().topLeft();
        onScreen = logical(window->screen()->grabWindow(0, at.x(), at.y(), window->width(), window->height()));
        if (sameLook(onScreen))
            break;
        QTest::qWait(20);
    } while (!deadline.hasExpired());
    return onScreen;
}

// `part` of `control` in its window's coordinates.
QRect inWindow(const QWidget* control, const QRect& part)
{
    return part.translated(control->mapTo(control->window(), QPoint(0, 0)));
}

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

class HighContrastScheme : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The scheme of the desktop: the test means nothing without it.
        ASSERT_EQ(::GetSysColor(COLOR_WINDOWTEXT), RGB(255, 255, 255)) << "window text is not white";
        ASSERT_EQ(::GetSysColor(COLOR_WINDOW), RGB(0, 0, 0)) << "windows are not black";
        ASSERT_EQ(::GetSysColor(COLOR_BTNTEXT), RGB(255, 255, 255)) << "button text is not white";
        ASSERT_EQ(::GetSysColor(COLOR_BTNFACE), RGB(0, 0, 0)) << "button faces are not black";
        ASSERT_EQ(QApplication::palette().color(QPalette::Text), QColor(Qt::white));
        ASSERT_EQ(QApplication::palette().color(QPalette::WindowText), QColor(Qt::white));
    }
};

TEST_F(HighContrastScheme, EveryLabelFieldAndListEntryIsReadableOnEveryBackground)
{
    windowtest::Windows w;
    showMainWindow(w);
    setDisplayFont(14);
    // The pointer off every window: an entry under it would show the hover look.
    QCursor::setPos(w.form->screen()->geometry().bottomRight());
    THintergrundForm* dialog = w.form->HintergrundForm();
    int measured = 0;

    std::printf("high-contrast scheme, 14 pt, the lowest text contrast: main window / start values / background "
                "list and its buttons / selected entry\n");
    for (int nr = 0; nr < ColorCount; ++nr) {
        const std::string name = colourName(nr);
        SCOPED_TRACE(name);
        Worst mainWorst, pixelWorst, listWorst, selectedWorst;

        // `chosen`: the text lies on the chosen background (not on the selection bar).
        const auto check = [&](Worst& worst, const QImage& image, const QRect& region, bool chosen, const char* what) {
            ++measured;
            const TextReading r = readText(image, region);
            worst.take(r.ratio, what);
            EXPECT_GE(r.ratio, kReadableTextContrast)
                << what << ": " << r.text.name().toStdString() << " on " << r.background.name().toStdString();
            if (chosen) {
                EXPECT_EQ(r.background.rgb(), tableColour(nr).rgb())
                    << what << ": on " << r.background.name().toStdString() << ", not on the chosen background";
            }
        };
        const auto checkLabel = [&](Worst& worst, const QImage& image, QLabel* label, const char* what) {
            check(worst, image, inWindow(label, label->rect()), true, what);
        };
        const auto checkEdit = [&](Worst& worst, const QImage& image, QLineEdit* edit, const char* what) {
            check(worst, image, inWindow(edit, fieldTextArea(edit, edit->width())), true, what);
        };
        const auto checkSpin = [&](Worst& worst, const QImage& image, TSpinEdit* spin, const char* what) {
            check(worst, image, inWindow(spin, fieldTextArea(spin, spin->buttons()->x())), true, what);
        };
        // A button keeps the scheme's face and text: its caption, on the face.
        const auto checkButton = [&](Worst& worst, const QImage& image, QPushButton* button, const char* what) {
            const QSize caption = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
            const QRect area = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, caption, button->rect());
            check(worst, image, inWindow(button, area), false, what);
        };

        // The main window, the focus on its button so no field shows a selection.
        w.form->setHintergrundNr(nr);
        showAlone(w.form.get(), {PixelForm, dialog});
        w.form->Button1->setFocus();
        w.form->repaint();
        const QImage main = screenShot(w.form.get());
        checkLabel(mainWorst, main, w.form->Label1, "Label1");
        checkLabel(mainWorst, main, w.form->Label2, "Label2");
        checkLabel(mainWorst, main, w.form->Label3, "Label3");
        checkLabel(mainWorst, main, w.form->Label4, "Label4");
        checkEdit(mainWorst, main, w.form->Edit1, "Edit1");
        checkEdit(mainWorst, main, w.form->Edit2, "Edit2");
        checkSpin(mainWorst, main, w.form->SpinEdit1, "SpinEdit1");
        checkSpin(mainWorst, main, w.form->SpinEdit2, "SpinEdit2");
        check(mainWorst, main, inWindow(w.form->StatusBar1, w.form->StatusPanel->geometry()), true, "StatusBar1");
        checkButton(mainWorst, main, w.form->Button1, "Button1");

        // The start-values dialog as the command shows it.
        PixelForm->SchriftartZuweisen();
        showAlone(PixelForm, {dialog});
        PixelForm->Button2->setFocus();
        PixelForm->repaint();
        const QImage pixel = screenShot(PixelForm);
        checkLabel(pixelWorst, pixel, PixelForm->Label1, "PixelForm.Label1");
        checkLabel(pixelWorst, pixel, PixelForm->Label2, "PixelForm.Label2");
        checkSpin(pixelWorst, pixel, PixelForm->SpinEdit1, "PixelForm.SpinEdit1");
        checkSpin(pixelWorst, pixel, PixelForm->SpinEdit2, "PixelForm.SpinEdit2");
        checkButton(pixelWorst, pixel, PixelForm->Button1, "PixelForm.Button1");
        checkButton(pixelWorst, pixel, PixelForm->Button2, "PixelForm.Button2");
        PixelForm->hide();

        // The background dialog: an entry that is not selected, and the selected one.
        dialog->SchriftartZuweisen(*AnzeigeSchrift, dialog->HintergrundFarbe());
        showAlone(dialog, {PixelForm});
        TListBox* list = dialog->ListBox1;
        ASSERT_EQ(list->ItemIndex(), nr);
        list->setFocus();
        const int other = nr == 0 ? 1 : nr - 1;
        list->scrollToItem(list->item(nr));
        dialog->repaint();
        const QImage view = screenShot(dialog);
        const QRect selectedRect = inWindow(list->viewport(), list->visualItemRect(list->item(nr)));
        const QRect otherRect = inWindow(list->viewport(), list->visualItemRect(list->item(other)));
        check(listWorst, view, otherRect, true, "ListBox1 entry");
        check(selectedWorst, view, selectedRect, false, "ListBox1 selected entry");
        checkButton(listWorst, view, dialog->Button1, "HintergrundForm.Button1");
        checkButton(listWorst, view, dialog->Button2, "HintergrundForm.Button2");
        const QColor bar = dominant(view, selectedRect);
        const double apart = ContrastRatio(bar, dominant(view, otherRect));
        EXPECT_GE(apart, 3.0) << "selected entry " << bar.name().toStdString() << " beside the others on "
                              << tableColour(nr).name().toStdString();
        dialog->hide();

        std::printf("  %-11s %5.2f %-11s %5.2f %-20s %5.2f %5.2f (bar %s, %4.2f:1 beside the others)\n", name.c_str(),
                    mainWorst.ratio, mainWorst.where.c_str(), pixelWorst.ratio, pixelWorst.where.c_str(),
                    listWorst.ratio, selectedWorst.ratio, bar.name().toLatin1().data(), apart);
        EXPECT_EQ(AnzeigeSchrift->Color.raw, ColorValue::clWindowText) << "drawing leaves the stored colour";
    }
    EXPECT_EQ(measured, ColorCount * 20);
}

// The focus of `control` (its window shown alone): the control's pixels on the
// screen with the focus on it and with the focus on `away`, read as a frame.
FocusReading focusOf(QWidget* window, QWidget* control, QWidget* away)
{
    const auto look = [&](QWidget* focus) {
        // Wine follows the window manager's focus: the owner of a window hidden
        // just before may still be handed the activation a moment later. The
        // frame is read in the active window, so that comes first.
        if (QGuiApplication::focusWindow() != window->windowHandle()) {
            window->activateWindow();
            EXPECT_TRUE(
                QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == window->windowHandle(); }, 10000))
                << window->objectName().toStdString() << " did not get the activation back";
        }
        focus->setFocus(Qt::TabFocusReason);
        if (auto* spin = qobject_cast<TSpinEdit*>(control))
            spin->editor()->deselect(); // the frame, not the selected text, is measured
        window->repaint();
        return screenShot(window).copy(inWindow(control, control->rect()));
    };
    const auto where = [&] {
        const QWidget* active = QApplication::activeWindow();
        return control->objectName().toStdString() + " in " + window->objectName().toStdString() + ", active: "
            + (active ? std::string(active->metaObject()->className()) + " \"" + active->windowTitle().toStdString()
                       + "\" visible " + std::to_string(active->isVisible())
                      : "none")
            + ", focus: "
            + (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none");
    };
    const QImage focused = look(control);
    EXPECT_TRUE(control->hasFocus()) << where();
    const QImage plain = look(away);
    EXPECT_FALSE(control->hasFocus()) << where();
    const QPalette::ColorRole face = qobject_cast<QPushButton*>(control) ? QPalette::Button : QPalette::Base;
    return readFocus(focused, plain, control->palette().color(face));
}

TEST_F(HighContrastScheme, EveryControlShowsItsFocusOnEveryBackground)
{
    windowtest::Windows w;
    THintergrundForm* dialog = w.form->HintergrundForm();
    showMainWindow(w);
    QCursor::setPos(w.form->screen()->geometry().bottomRight());
    for (const int points : {14, 48}) {
        setDisplayFont(points);
        std::map<std::string, FocusReading> thinnest;
        const auto check
            = [&](QWidget* window, QWidget* control, QWidget* away, const std::string& kind, const std::string& bg) {
                  const FocusReading r = focusOf(window, control, away);
                  const int wanted = FocusFrameStyle::FocusRingWidth(control->fontMetrics());
                  EXPECT_GE(r.thickness, wanted) << kind << " at " << points << " pt on " << bg << ": frame "
                                                 << r.thickness << " px, changed pixels at " << r.contrast << ":1";
                  EXPECT_GE(r.indicator, 3.0) << kind << " at " << points << " pt on " << bg;
                  auto [at, fresh] = thinnest.try_emplace(kind, r);
                  if (!fresh && r.thickness < at->second.thickness)
                      at->second = r;
              };
        for (int nr = 0; nr < ColorCount; ++nr) {
            const std::string bg = colourName(nr);
            SCOPED_TRACE(bg);
            w.form->setHintergrundNr(nr);
            showAlone(w.form.get(), {PixelForm, dialog});
            check(w.form.get(), w.form->Edit1, w.form->Button1, "edit field (read-only)", bg);
            check(w.form.get(), w.form->SpinEdit1, w.form->Button1, "number field", bg);
            check(w.form.get(), w.form->Button1, w.form->Edit2, "push button", bg);

            PixelForm->SchriftartZuweisen();
            showAlone(PixelForm, {dialog});
            check(PixelForm, PixelForm->SpinEdit2, PixelForm->Button2, "number field", bg);
            check(PixelForm, PixelForm->Button1, PixelForm->SpinEdit1, "default button", bg);
            PixelForm->hide();

            dialog->SchriftartZuweisen(*AnzeigeSchrift, dialog->HintergrundFarbe());
            showAlone(dialog, {PixelForm});
            check(dialog, dialog->ListBox1, dialog->Button2, "list", bg);
            dialog->hide();
        }
        std::printf("high-contrast scheme, focus at %d pt over the 19 backgrounds: thinnest frame, its median "
                    "change, its frame's own pixels\n",
                    points);
        for (const auto& [kind, r] : thinnest)
            std::printf("  %-24s %3d px  %5.2f:1  %5.2f:1\n", kind.c_str(), r.thickness, r.contrast, r.indicator);
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Real native windows: the desktop's own platform, whatever the test run chose.
    qunsetenv("QT_QPA_PLATFORM");
    const PrivateUserRegistry registry; // the windows load the display settings: never the user's own
    ZarnolithApplication app(argc, argv);
    // A caret that does not blink: two pictures of the same state are the same.
    QApplication::setCursorFlashTime(0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
