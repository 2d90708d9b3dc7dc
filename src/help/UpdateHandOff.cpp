#include "help/UpdateHandOff.h"

#include "help/HelpAddresses.h"
#include "util/Cp1252.h"

#include <QRegularExpression>

namespace help {

QStringList HandOffLines(const QString& windowTitleText, const QString& programFile, int fontPoints,
                         const QString& fontName)
{
    return {kProgramTitle, windowTitleText, programFile, QStringLiteral("Qmt"),
            QString::number(fontPoints) + QLatin1Char(' ') + fontName};
}

QByteArray HandOffBytes(const QStringList& lines)
{
    // One line per entry, whatever it holds: a line break inside (a face name
    // from a hand-edited settings file, a directory name) becomes one blank.
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QByteArray bytes;
    for (QString line : lines)
        bytes += util::ToCp1252(line.replace(lineBreak, QStringLiteral(" "))) + "\r\n";
    return bytes;
}

QString UpdateErrorText(const QString& path)
{
    return QStringLiteral("Es ist ein Fehler beim Aktualisieren aufgetreten!\r\n"
                          "Die Datei \"%1\" konnte nicht gespeichert werden.")
        .arg(path);
}

} // namespace help
