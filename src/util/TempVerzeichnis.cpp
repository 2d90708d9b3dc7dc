#include "util/TempVerzeichnis.h"

#include "platform/Process.h"

#include <QDir>

namespace util {

QString TempVerzeichnis(QString* failure)
{
    if (failure)
        failure->clear();
    // The directory as the system names it, whether or not it exists: a
    // missing one must be named where the writing fails, never replaced by
    // another directory. A relative one is taken from the current directory,
    // as any file name is.
    platform::TemporaryDirectoryFailure why;
    QString dir = QString::fromStdString(platform::TemporaryDirectory(&why));
    if (dir.isEmpty() && !why.message.empty()) {
        if (failure)
            *failure = QStringLiteral("Windows meldet: ") + QString::fromStdString(why.message);
        dir = QString::fromStdString(why.directory);
        if (!dir.isEmpty() && !dir.endsWith(QDir::separator()))
            dir += QDir::separator();
        return dir;
    }
    if (QDir::isRelativePath(dir))
        dir = QDir::currentPath() + QLatin1Char('/') + dir;
    const QChar separator = QDir::separator();
    if (!dir.endsWith(QLatin1Char('/')) && !dir.endsWith(separator))
        dir += separator;
    return dir;
}

} // namespace util
