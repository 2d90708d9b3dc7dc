#pragma once
// Stand-ins for outside programs (the desktop's opener, the updater): small
// shell scripts that record how they were started, one file per start, so a
// test can wait for them without fixed sleeps.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QThread>

#include <ostream>
#include <vector>

// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace standin {

// One start as recorded: the working directory, then the arguments.
struct Record {
    QString workingDirectory;
    QStringList arguments;
};

// Writes an executable script at scriptPath that records each start as a file
// "<pid>.rec" in recordDir (written aside and renamed, so it appears whole).
inline bool WriteRecorder(const QString& scriptPath, const QString& recordDir)
{
    QDir().mkpath(recordDir);
    QFile script(scriptPath);
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    script.write(
        "#!/bin/sh\n"
        "rec='"
        + QFile::encodeName(recordDir)
        + "'/$$\n"
          "{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \"$rec.tmp\" && mv \"$rec.tmp\" \"$rec.rec\"\n");
    script.close();
    return script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                 | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

inline std::vector<Record> ReadRecords(const QString& recordDir)
{
    std::vector<Record> records;
    const QStringList files = QDir(recordDir).entryList({QStringLiteral("*.rec")}, QDir::Files, QDir::Time);
    for (const QString& name : files) {
        QFile f(recordDir + QLatin1Char('/') + name);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        Record r;
        if (!lines.isEmpty())
            r.workingDirectory = lines.takeFirst();
        r.arguments = lines;
        records.push_back(r);
    }
    return records;
}

// Forgets the starts recorded so far.
inline void ClearRecords(const QString& recordDir)
{
    QDir dir(recordDir);
    for (const QString& name : dir.entryList({QStringLiteral("*.rec")}, QDir::Files))
        dir.remove(name);
}

// Polls until at least `count` starts are recorded, at most five seconds.
inline std::vector<Record> WaitForRecords(const QString& recordDir, std::size_t count = 1)
{
    QDeadlineTimer deadline(5000);
    for (;;) {
        std::vector<Record> records = ReadRecords(recordDir);
        if (records.size() >= count || deadline.hasExpired())
            return records;
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
}

} // namespace standin
