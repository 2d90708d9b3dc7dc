#include "util/TempVerzeichnis.h"

#include <QDir>

namespace util {

QString TempVerzeichnis()
{
    QString dir = QDir::tempPath(); // follows TMPDIR, without a trailing separator
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

} // namespace util
