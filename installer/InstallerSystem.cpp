#include "InstallerSystem.h"

#include "platform/ProcessTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>

InstallerSystem::~InstallerSystem() = default;

bool InstallerSystem::moveToTrash(const QString &path)
{
    // Qt makes the Trash folder but not the data folder that holds it (a fresh account).
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
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
    QDirIterator entries(from,
                         QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (entries.hasNext()) {
        const QString entry = entries.next();
        if (!copyItem(entry, to + QLatin1Char('/') + entries.fileName()))
            return false;
    }
    return true;
}

QList<qint64> InstallerSystem::processesStartedFrom(const QString &path)
{
    // An empty argument would name the root, and every program lies inside it.
    if (!QDir::isAbsolutePath(path) || QDir::cleanPath(path) == QLatin1String("/"))
        return {};
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
    // The programs the installer starts are detached (GIO, QProcess::startDetached), so none is
    // a child of ours left as a zombie.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}
