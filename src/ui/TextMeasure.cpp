#include "ui/TextMeasure.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>

namespace {

// Measures as an auto-sizing single-line label does: a temporary label
// without parent takes the font and the caption. Its size hint is read rather
// than adjustSize(), which limits a parentless widget to 2/3 of the screen and
// so would cut the widths of long captions in large fonts.
QSize labelSize(const QFont& font, const QString& caption)
{
    QLabel probe;
    probe.setFont(font);
    probe.setText(caption);
    return probe.sizeHint();
}

} // namespace

int LabelLineHeight(const QFont& font) { return labelSize(font, QStringLiteral("M")).height(); }

int HoeheFuerSchrift(const QFont& font, const QWidget& control)
{
    const int h = LabelLineHeight(font);
    if (qobject_cast<const QLineEdit*>(&control))
        return h + 8;
    if (qobject_cast<const QPushButton*>(&control))
        return h + 12;
    if (qobject_cast<const QStatusBar*>(&control))
        return h + 6;
    return h;
}

int BreiteFuerText(const QFont& font, const QString& text) { return labelSize(font, text + QLatin1Char(' ')).width(); }

int FocusLineWidth(const QFontMetrics& metrics) { return std::max(2, (metrics.height() + 6) / 12); }
