#include "util/KaufmannsUndEntfernen.h"

namespace util {

QString KaufmannsUndEntfernen(const QString& text)
{
    QString result = text;
    result.remove(QLatin1Char('&'));
    return result;
}

} // namespace util
