#include "ui/ControlAppearance.h"

#include "ui/TextContrast.h"
#include "ui/TextMeasure.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

namespace {

// The mark TakeWholeFont leaves on a control, as a dynamic property.
constexpr char kTakesWholeFont[] = "zarnolithTakesWholeFont";

bool takesWholeFont(const QObject* o)
{
    return qobject_cast<const QLabel*>(o) || qobject_cast<const QStatusBar*>(o) || qobject_cast<const QLineEdit*>(o)
        || qobject_cast<const QAbstractItemView*>(o) || o->property(kTakesWholeFont).toBool();
}

} // namespace

void TakeWholeFont(QWidget& control) { control.setProperty(kTakesWholeFont, true); }

void ApplyWholeFont(QWidget& control, const TFont& font, ColorValue background)
{
    // System colours come from the desktop's scheme, not from what an earlier
    // call left in the control's palette.
    const QPalette scheme = QApplication::palette(&control);
    const QColor bg = background.toQColor(scheme);
    // A system text colour is meant for the scheme's own background; on the
    // one the user picked it is resolved so that it stays readable.
    const QColor fg = TextColorOn(font.Color, bg, scheme);
    const bool list = qobject_cast<const QAbstractItemView*>(&control) != nullptr;
    QPalette pal = control.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        // Labels and bars paint Window/WindowText, fields Base/Text.
        pal.setColor(group, QPalette::Window, bg);
        pal.setColor(group, QPalette::WindowText, fg);
        pal.setColor(group, QPalette::Base, bg);
        pal.setColor(group, QPalette::Text, fg);
        if (list) {
            // The selected entry as a black or white bar that stands out
            // from the background whatever the scheme's own highlight is,
            // its text in the other of the two.
            const QColor bar = StrongestOn(bg);
            pal.setColor(group, QPalette::Highlight, bar);
            pal.setColor(group, QPalette::HighlightedText, StrongestOn(bar));
        }
    }
    control.setPalette(pal);
    control.setFont(font.toQFont());

    if (auto* label = qobject_cast<QLabel*>(&control)) {
        label->setAutoFillBackground(true); // opaque, so the colour shows
        label->adjustSize();
    } else if (auto* bar = qobject_cast<QStatusBar*>(&control)) {
        bar->setAutoFillBackground(true);
    } else if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
        // A single-line edit field takes its automatic height from the font.
        edit->resize(edit->width(), HoeheFuerSchrift(edit->font(), *edit));
    }
}

void ApplyFaceSizeStyle(QPushButton& button, const TFont& font)
{
    // The button takes the size in points, so its pixel height is rebuilt from
    // those points at the font's resolution; colour and character set stay.
    TFont buttonFont(font.PixelsPerInch);
    buttonFont.Name = font.Name;
    buttonFont.setSize(font.Size());
    buttonFont.Style = font.Style;
    button.setFont(buttonFont.toQFont());
}

void ApplyDisplaySettings(const std::vector<QObject*>& components, const TFont& font, ColorValue background)
{
    for (QObject* o : components) {
        if (takesWholeFont(o))
            ApplyWholeFont(*static_cast<QWidget*>(o), font, background);
        else if (auto* button = qobject_cast<QPushButton*>(o))
            ApplyFaceSizeStyle(*button, font);
    }
}
