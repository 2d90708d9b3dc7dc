// The font dialog's Tab stops show the focus as clearly as the other
// windows' controls: the pixels that change with the focus differ from the
// unfocused look by 3:1 or more, stand 3:1 from what lies around the
// control, and form a frame on all four sides at least 2 pixels thick that
// grows with the display font. Each stop is measured against its own look
// without any focus in the window, so that nothing scrolls in between.
#include "ContrastSupport.h"

#include "appearance/FontWindow.h"
#include "appearance/FontWindowControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <cstdio>
#include <map>

using namespace lowvision;

namespace {

int requiredThickness(const QWidget* control) { return std::max(2, control->fontMetrics().height() / 14); }

// What the focus is drawn against: a field's or a list's base, a button's
// (or a drop-down box's) face, the window itself round a check box or a
// scroll area.
QColor surroundingOf(const QWidget* control)
{
    if (qobject_cast<const QLineEdit*>(control) || qobject_cast<const QListWidget*>(control))
        return control->palette().color(QPalette::Base);
    if (qobject_cast<const QPushButton*>(control) || qobject_cast<const QComboBox*>(control))
        return control->palette().color(QPalette::Button);
    return control->palette().color(QPalette::Window);
}

// The control's class and what names it: its caption, its label or its accessible name.
std::string kindOf(const QWidget* control)
{
    QString name = control->accessibleName();
    if (const auto* b = qobject_cast<const QAbstractButton*>(control))
        name = b->text();
    for (const QLabel* l : control->window()->findChildren<QLabel*>())
        if (l->buddy() == control)
            name = l->text();
    return control->metaObject()->className() + std::string(" ") + name.toStdString();
}

struct Reading {
    int thinnest = 1 << 20;
    double faintest = 21.0;
    double framedFaintest = 21.0;
    int required = 0;
};

class FontDialogFocus : public ::testing::TestWithParam<int> {};

TEST_P(FontDialogFocus, EveryTabStopShowsTheFocus)
{
    const int points = GetParam();
    windowtest::Windows w;
    showMainWindow(w);
    setDisplayFont(points);
    std::map<std::string, Reading> readings;
    int measured = 0;

    // Light, dark and mid-grey text backgrounds round the sample.
    for (const int nr : {0, 1, 11}) {
        const std::string bg = colourName(nr);
        SCOPED_TRACE(bg);
        FontWindow dialog(*AnzeigeSchrift, ColorValue{FarbWerte[static_cast<std::size_t>(nr)]}, w.form.get());
        showAlone(&dialog, {PixelForm, w.form->HintergrundForm()});

        // The Tab stops, in the order of the Tab key.
        std::vector<QWidget*> stops;
        dialog.NameEdit->setFocus(Qt::TabFocusReason);
        for (QWidget* f = QApplication::focusWidget(); f && stops.size() < 40; f = QApplication::focusWidget()) {
            if (!stops.empty() && f == stops.front())
                break;
            stops.push_back(f);
            QTest::keyClick(f, Qt::Key_Tab);
        }
        ASSERT_GE(stops.size(), 13u) << "every control of the dialog is a Tab stop";
        const QString shots = qEnvironmentVariable("ZARNOLITH_TEST_SHOTS");
        if (!shots.isEmpty()) {
            // The whole dialog, as the user sees it, with the focus in the colour box.
            dialog.ColorBox->setFocus(Qt::TabFocusReason);
            shot(&dialog).save(shots
                               + QStringLiteral("/font-dialog-%1-%2-%3pt.png")
                                     .arg(QString::fromLatin1(schemeName()), QString::fromStdString(bg))
                                     .arg(points));
        }

        for (QWidget* control : stops) {
            const std::string kind = kindOf(control);
            // A scroll area shows its focus round it, in the holder's margin.
            QWidget* shown = qobject_cast<FocusRing*>(control->parentWidget()) ? control->parentWidget() : control;
            control->setFocus(Qt::TabFocusReason);
            if (auto* edit = qobject_cast<QLineEdit*>(control))
                edit->deselect(); // the frame, not the selected text, is measured
            dialog.repaint();
            QApplication::processEvents();
            ASSERT_TRUE(control->hasFocus()) << kind;
            if (!onScreen(shown))
                continue;
            const QImage focused = shot(shown);
            control->clearFocus();
            dialog.repaint();
            QApplication::processEvents();
            ASSERT_FALSE(control->hasFocus()) << kind;
            const QImage plain = shot(shown);
            ++measured;

            const FocusReading r = readFocus(focused, plain, surroundingOf(control));
            if (!shots.isEmpty()) {
                const QString base = shots
                    + QStringLiteral("/font-dialog-%1-%2-%3pt")
                          .arg(QString::fromStdString(kind).replace(QLatin1Char(' '), QLatin1Char('_')),
                               QString::fromStdString(bg))
                          .arg(points);
                focused.save(base + QStringLiteral("-focused.png"));
                plain.save(base + QStringLiteral("-plain.png"));
            }
            Reading& s = readings[kind];
            s.thinnest = std::min(s.thinnest, r.thickness);
            s.faintest = std::min(s.faintest, r.contrast);
            s.framedFaintest = std::min(s.framedFaintest, r.indicator);
            s.required = requiredThickness(control);
            EXPECT_GE(r.thickness, requiredThickness(control))
                << kind << ": focus frame " << r.thickness << " px, changed pixels at " << r.contrast
                << ":1, the frame's own at " << r.indicator << ":1";
        }
    }

    std::printf("font dialog focus, %s scheme, %d pt, over 3 text backgrounds: thinnest frame (needed), faintest "
                "median change in the outer third, faintest median of the frame's own pixels:\n",
                schemeName(), points);
    for (const auto& [kind, s] : readings)
        std::printf("  %-34s %3d px (%d)  %5.2f:1  %5.2f:1\n", kind.c_str(), s.thinnest, s.required, s.faintest,
                    s.framedFaintest);
    EXPECT_GT(measured, 0) << "some Tab stop lies on the screen";
}

INSTANTIATE_TEST_SUITE_P(Points, FontDialogFocus, ::testing::Values(14, 48, 72));

} // namespace
