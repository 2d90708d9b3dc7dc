#include "util/TempVerzeichnis.h"

#include "platform/Process.h"

#include <QDir>

namespace util {

QString TempVerzeichnis()
{
    // The directory as the system names it, whether or not it exists: a
    // missing one must be named where the writing fails, never replaced by
    // another directory. A relative one is taken from the current directory,
    // as any file name is.
    QString dir = QString::fromStdString(platform::TemporaryDirectory());
    if (QDir::isRelativePath(dir))
        dir = QDir::currentPath() + QLatin1Char('/') + dir;
    const QChar separator = QDir::separator();
    if (!dir.endsWith(QLatin1Char('/')) && !dir.endsWith(separator))
        dir += separator;
    return dir;
}

} // namespace util
