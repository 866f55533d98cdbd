#include "printjob/printscratch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>

#include <signal.h>
#include <unistd.h>

namespace {
QString nameTemplate(const QString &kind, const QString &suffix)
{
    return QDir::tempPath()
        + QStringLiteral("/letterloom-%1-%2-XXXXXX%3").arg(kind).arg(QCoreApplication::applicationPid()).arg(suffix);
}

// A process that runs under another user still runs. A number the system has
// given to a new process since keeps the files: they stay rather than go wrongly.
bool processRuns(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}
} // namespace

QString PrintScratch::partsFolderTemplate()
{
    return nameTemplate(QStringLiteral("teile"), QString());
}

QString PrintScratch::spoolFileTemplate()
{
    return nameTemplate(QStringLiteral("druck"), QStringLiteral(".pdf"));
}

int PrintScratch::removeLeftovers()
{
    static const QRegularExpression owned(QStringLiteral("^letterloom-(?:teile|druck)-(\\d+)-"));
    const QFileInfoList entries
        = QDir(QDir::tempPath())
              .entryInfoList({QStringLiteral("letterloom-teile-*"), QStringLiteral("letterloom-druck-*")},
                             QDir::Dirs | QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    int removed = 0;
    for (const QFileInfo &entry : entries) {
        // The temporary folder is shared: a link placed there by someone else
        // must not lead the removal elsewhere.
        if (entry.isSymLink() || entry.ownerId() != ::getuid())
            continue;
        const QRegularExpressionMatch match = owned.match(entry.fileName());
        const qint64 pid = match.hasMatch() ? match.captured(1).toLongLong() : 0;
        if (pid <= 0 || pid == QCoreApplication::applicationPid() || processRuns(pid))
            continue;
        if (entry.isDir() ? QDir(entry.filePath()).removeRecursively() : QFile::remove(entry.filePath()))
            ++removed;
    }
    return removed;
}
