#include "InstallerSystem.h"

#include "platform/ProcessTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <sys/wait.h>

InstallerSystem::~InstallerSystem() = default;

bool InstallerSystem::moveToTrash(const QString &path)
{
    return QFile::moveToTrash(path);
}

bool InstallerSystem::moveItem(const QString &from, const QString &to)
{
    if (QDir().rename(from, to))
        return true;
    if (!copyItem(from, to))
        return false;
    const QFileInfo info(from);
    if (info.isDir() && !info.isSymLink())
        return QDir(from).removeRecursively();
    return QFile::remove(from);
}

bool InstallerSystem::copyItem(const QString &from, const QString &to)
{
    const QFileInfo source(from);
    if (!source.isDir() || source.isSymLink())
        return QFile::copy(from, to);
    if (!QDir().mkpath(to))
        return false;
    QFile::setPermissions(to, QFile::permissions(from));
    QDirIterator entries(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (entries.hasNext()) {
        const QString entry = entries.next();
        if (!copyItem(entry, to + QLatin1Char('/') + entries.fileName()))
            return false;
    }
    return true;
}

QList<qint64> InstallerSystem::processesStartedFrom(const QString &path)
{
    const QString folder = QDir::cleanPath(path) + QLatin1Char('/');
    const qint64 self = QCoreApplication::applicationPid();
    QList<qint64> found;
    for (const ProcessInfo &process : ProcessTable::system().processes()) {
        if (process.pid == self)
            continue;
        if (process.bundlePath == path || process.executable == path
            || process.executable.startsWith(folder))
            found.append(process.pid);
    }
    return found;
}

bool InstallerSystem::terminateProcess(qint64 pid)
{
    return ::kill(static_cast<pid_t>(pid), SIGTERM) == 0;
}

bool InstallerSystem::isProcessRunning(qint64 pid)
{
    // A child of ours that ended stays a zombie until reaped, and would look alive.
    int status = 0;
    if (::waitpid(static_cast<pid_t>(pid), &status, WNOHANG) == pid)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}
