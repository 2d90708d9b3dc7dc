#include "util/TempVerzeichnis.h"

#include <QDir>
#include <QtGlobal>

namespace util {

QString TempVerzeichnis()
{
    // TMPDIR as set, whether or not the directory exists: a missing one must be
    // named where the writing fails, never replaced by another directory. A
    // relative one is taken from the current directory, as any file name is.
    QString dir = qEnvironmentVariable("TMPDIR");
    if (dir.isEmpty())
        dir = QStringLiteral("/tmp");
    if (QDir::isRelativePath(dir))
        dir = QDir::currentPath() + QLatin1Char('/') + dir;
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

} // namespace util
