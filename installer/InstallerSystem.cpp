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
#include <sys/stat.h>
#include <unistd.h>

InstallerSystem::~InstallerSystem() = default;

bool InstallerSystem::moveToTrash(const QString &path)
{
    // Qt makes the Trash folder but not the data folder that holds it (a fresh account).
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    return QFile::moveToTrash(path);
}

bool InstallerSystem::renameItem(const QString &from, const QString &to)
{
    return QDir().rename(from, to);
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

namespace {

bool isFolder(const QFileInfo &info)
{
    return info.isDir() && !info.isSymLink();
}

QStringList entriesOf(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot
                                               | QDir::Hidden | QDir::System);
    names.sort();
    return names;
}

// An entry of `folder` can be unlinked by this process: the folder can be written (which also
// says no for a read-only file system or an immutable folder), and a sticky folder holds it for
// its owner only.
bool canUnlinkFrom(const QString &folder, const QFileInfo &entry)
{
    const QByteArray native = QFile::encodeName(folder);
    if (::access(native.constData(), W_OK | X_OK) != 0)
        return false;
    struct stat status {
    };
    if (::stat(native.constData(), &status) != 0)
        return false;
    const uid_t self = ::geteuid();
    if ((status.st_mode & S_ISVTX) && self != 0 && status.st_uid != self && entry.ownerId() != self)
        return false;
    return true;
}

bool canRemoveTree(const QString &path)
{
    const QFileInfo info(path);
    if (!canUnlinkFrom(info.absolutePath(), info))
        return false;
    if (!isFolder(info))
        return true;
    if (::access(QFile::encodeName(path).constData(), R_OK) != 0)
        return false;
    for (const QString &name : entriesOf(path)) {
        if (!canRemoveTree(path + QLatin1Char('/') + name))
            return false;
    }
    return true;
}

bool sameFileContents(const QString &first, const QString &second)
{
    QFile a(first);
    QFile b(second);
    if (a.size() != b.size() || !a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 Chunk = 1 << 16;
    while (!a.atEnd()) {
        const QByteArray bytes = a.read(Chunk);
        if (bytes.isEmpty() || bytes != b.read(Chunk))
            return false;
    }
    return b.atEnd();
}

QByteArray linkText(const QString &path)
{
    QByteArray target(4096, Qt::Uninitialized);
    const ssize_t length =
        ::readlink(QFile::encodeName(path).constData(), target.data(), size_t(target.size()));
    return length < 0 ? QByteArray() : target.left(length);
}

} // namespace

bool InstallerSystem::removeItem(const QString &path)
{
    // A removal stops at the first entry that cannot go, with the ones before it gone: look at
    // the whole item first.
    if (!canRemoveTree(path))
        return false;
    const QFileInfo info(path);
    const bool removed = isFolder(info) ? QDir(path).removeRecursively() : QFile::remove(path);
    return removed && !QFileInfo(path).exists() && !QFileInfo(path).isSymLink();
}

bool InstallerSystem::sameItem(const QString &original, const QString &copy)
{
    const QFileInfo a(original);
    const QFileInfo b(copy);
    if (a.isSymLink() && b.isSymLink())
        return linkText(original) == linkText(copy);
    // A link is copied as the file it points to.
    if (b.isSymLink() || (a.isSymLink() && !a.isFile()))
        return false;
    if (!a.exists() || !b.exists() || a.isDir() != b.isDir())
        return false;
    if (!a.isDir())
        return sameFileContents(original, copy);
    const QStringList names = entriesOf(original);
    if (names != entriesOf(copy))
        return false;
    for (const QString &name : names) {
        if (!sameItem(original + QLatin1Char('/') + name, copy + QLatin1Char('/') + name))
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
