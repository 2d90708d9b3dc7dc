#pragma once
// The hand-off file for the separate updater: five lines, each ended by CR LF,
// in the system's active ANSI code page (code page 1252 where the system has
// none), without a byte-order mark unless that code page is UTF-8.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace help {

inline const QString kHandOffFile = QStringLiteral("Qmt.cfg");

// Program title, window title, program file, "Qmt", "<points> <face name>".
QStringList HandOffLines(const QString& windowTitleText, const QString& programFile, int fontPoints,
                         const QString& fontName);

// Each entry one line ended by CR LF; a line break inside an entry becomes a blank.
QByteArray HandOffBytes(const QStringList& lines);

// The two-line message when the file cannot be written; the path in quotation marks.
QString UpdateErrorText(const QString& path);

} // namespace help
