#include "help/UpdateHandOff.h"

#include "help/HelpAddresses.h"
#include "platform/HandOffFile.h"
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
    QString text;
    for (QString line : lines)
        text += line.replace(lineBreak, QStringLiteral(" ")) + QStringLiteral("\r\n");
    // The system's active ANSI code page; where there is none, the Western
    // European one that the updater's Windows systems have.
    if (const auto bytes
        = platform::ToActiveCodePage(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size())))
        return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
    return util::ToCp1252(text);
}

QString UpdateErrorText(const QString& path)
{
    return QStringLiteral("Es ist ein Fehler beim Aktualisieren aufgetreten!\r\n"
                          "Die Datei \"%1\" konnte nicht gespeichert werden.")
        .arg(path);
}

} // namespace help
