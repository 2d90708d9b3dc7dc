#pragma once
// Text measurement shared by the layouts of all windows.
#include <QFont>
#include <QFontMetrics>
#include <QString>

class QWidget;

// The line height H of an auto-sizing single-line label in the font.
int LabelLineHeight(const QFont& font);

// Height a control of the given kind needs for one line in the font: the
// line height H of an auto-sizing label, plus 8 for a single-line edit field,
// 12 for a push button, 6 for a status bar, 0 for anything else.
int HoeheFuerSchrift(const QFont& font, const QWidget& control);

// Width an auto-sizing single-line label takes for the text followed by one blank.
int BreiteFuerText(const QFont& font, const QString& text);

// The width of the line that shows the keyboard focus on a control whose font
// has these metrics: 2 pixels up to a line height of 29, then a twelfth of a
// line, so that it stays visible beside a large font and under a magnifier.
int FocusLineWidth(const QFontMetrics& metrics);
