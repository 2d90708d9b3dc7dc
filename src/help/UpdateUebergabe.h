#pragma once
// The hand-off file for the separate updater: five lines, each ended by CR LF,
// in code page 1252 without a byte-order mark.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace help {

inline const QString kUebergabeDatei = QStringLiteral("Qmt.cfg");

// Program title, window title, program file, "Qmt", "<points> <face name>".
QStringList UebergabeZeilen(const QString& fensterTitel, const QString& programmDatei, int schriftPunkte,
                            const QString& schriftName);

// Each entry one line ended by CR LF; a line break inside an entry becomes a blank.
QByteArray UebergabeBytes(const QStringList& zeilen);

// The two-line message when the file cannot be written; the path in quotation marks.
QString UpdateFehlerText(const QString& pfad);

} // namespace help
