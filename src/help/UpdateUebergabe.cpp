#include "help/UpdateUebergabe.h"

#include "help/HilfeAdressen.h"
#include "util/Cp1252.h"

#include <QRegularExpression>

namespace help {

QStringList UebergabeZeilen(const QString& fensterTitel, const QString& programmDatei, int schriftPunkte,
                            const QString& schriftName)
{
    return {kProgrammTitel, fensterTitel, programmDatei, QStringLiteral("Qmt"),
            QString::number(schriftPunkte) + QLatin1Char(' ') + schriftName};
}

QByteArray UebergabeBytes(const QStringList& zeilen)
{
    // One line per entry, whatever it holds: a line break inside (a face name
    // from a hand-edited settings file, a directory name) becomes one blank.
    static const QRegularExpression umbruch(QStringLiteral("\r\n|\r|\n"));
    QByteArray bytes;
    for (QString zeile : zeilen)
        bytes += util::NachCp1252(zeile.replace(umbruch, QStringLiteral(" "))) + "\r\n";
    return bytes;
}

QString UpdateFehlerText(const QString& pfad)
{
    return QStringLiteral("Es ist ein Fehler beim Aktualisieren aufgetreten!\r\n"
                          "Die Datei \"%1\" konnte nicht gespeichert werden.")
        .arg(pfad);
}

} // namespace help
