#include "ProcessTable.h"

#include <QFile>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray readWhole(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString readLink(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    QByteArray target(4096, Qt::Uninitialized);
    const ssize_t length = ::readlink(native.constData(), target.data(), size_t(target.size()));
    if (length <= 0 || length >= target.size())
        return {};
    target.truncate(length);
    // An executable replaced on disk (by an upgrade) keeps running under its old path.
    static const QByteArray deleted = " (deleted)";
    if (target.endsWith(deleted))
        target.chop(deleted.size());
    return QFile::decodeName(target);
}

bool parsePid(const char *name, qint64 &pid)
{
    if (*name == '\0')
        return false;
    qint64 value = 0;
    for (const char *c = name; *c; ++c) {
        if (*c < '0' || *c > '9' || value > (qint64(1) << 40))
            return false;
        value = value * 10 + (*c - '0');
    }
    pid = value;
    return true;
}

} // namespace

ProcessTable::~ProcessTable() = default;

const ProcessTable &ProcessTable::system()
{
    static const ProcProcessTable table;
    return table;
}

ProcProcessTable::ProcProcessTable(QString procRoot)
    : mProcRoot(std::move(procRoot))
{
}

QString ProcProcessTable::bundlePathFromEnvironment(const QByteArray &environ, qint64 pid,
                                                    const QString &executable)
{
    static const QByteArray fileKey = "GIO_LAUNCHED_DESKTOP_FILE=";
    static const QByteArray pidKey = "GIO_LAUNCHED_DESKTOP_FILE_PID=";
    QByteArray desktopFile;
    QByteArray launchedPid;
    for (const QByteArray &entry : environ.split('\0')) {
        if (entry.startsWith(fileKey))
            desktopFile = entry.mid(fileKey.size());
        else if (entry.startsWith(pidKey))
            launchedPid = entry.mid(pidKey.size());
    }
    if (desktopFile.isEmpty() || !desktopFile.startsWith('/'))
        return executable;
    // Without the id (a launcher other than GIO) the entry is taken at its word.
    if (!launchedPid.isEmpty()) {
        bool ok = false;
        if (launchedPid.toLongLong(&ok) != pid || !ok)
            return executable;
    }
    return QFile::decodeName(desktopFile);
}

std::optional<ProcessInfo> ProcessTable::process(qint64 pid) const
{
    for (const ProcessInfo &info : processes()) {
        if (info.pid == pid)
            return info;
    }
    return std::nullopt;
}

std::optional<ProcessInfo> ProcProcessTable::read(const char *pidName, qint64 pid, uid_t user) const
{
    const QString folder = mProcRoot + QLatin1Char('/') + QLatin1String(pidName);
    struct stat st;
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0 || st.st_uid != user)
        return std::nullopt;
    // Kernel threads and zombies have no executable: nothing to name them by.
    const QString executable = readLink(folder + QStringLiteral("/exe"));
    if (executable.isEmpty())
        return std::nullopt;
    ProcessInfo info;
    info.pid = pid;
    info.executable = executable;
    info.name = executable.mid(executable.lastIndexOf(QLatin1Char('/')) + 1);
    info.bundlePath =
        bundlePathFromEnvironment(readWhole(folder + QStringLiteral("/environ")), pid, executable);
    return info;
}

std::optional<ProcessInfo> ProcProcessTable::process(qint64 pid) const
{
    if (pid <= 0)
        return std::nullopt;
    return read(QByteArray::number(pid).constData(), pid, ::getuid());
}

QList<ProcessInfo> ProcProcessTable::processes() const
{
    QList<ProcessInfo> found;
    DIR *dir = ::opendir(QFile::encodeName(mProcRoot).constData());
    if (!dir)
        return found;
    const uid_t user = ::getuid();
    while (const dirent *entry = ::readdir(dir)) {
        qint64 pid = 0;
        if (!parsePid(entry->d_name, pid))
            continue;
        if (std::optional<ProcessInfo> info = read(entry->d_name, pid, user))
            found.append(*info);
    }
    ::closedir(dir);
    std::sort(found.begin(), found.end(),
              [](const ProcessInfo &a, const ProcessInfo &b) { return a.pid < b.pid; });
    return found;
}
