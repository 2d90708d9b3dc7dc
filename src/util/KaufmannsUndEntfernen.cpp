#include "util/KaufmannsUndEntfernen.h"

QString KaufmannsUndEntfernen(const QString& text)
{
    QString result = text;
    result.remove(QLatin1Char('&'));
    return result;
}
