#include "AtomicFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Temporary files carry the writer's process id, so the leftovers of a writer that was killed
// can be told from a save in progress and removed.
QString temporaryPrefix(const QString &fileName)
{
    return QStringLiteral(".%1.tmp-").arg(fileName);
}

void removeStaleTemporaries(const QDir &dir, const QString &fileName)
{
    const QString prefix = temporaryPrefix(fileName);
    // Compared here rather than by a name filter: Qt makes a regular expression of a filter,
    // and every save would map PCRE and compile one.
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (!name.startsWith(prefix))
            continue;
        const QString rest = name.mid(prefix.size());
        bool ok = false;
        const pid_t pid = pid_t(rest.section(QLatin1Char('-'), 0, 0).toLongLong(&ok));
        if (!ok || pid <= 0)
            continue;
        if (::kill(pid, 0) == -1 && errno == ESRCH)
            QFile::remove(dir.filePath(name));
    }
}

bool writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

QString AtomicFile::resolveLinks(const QString &path)
{
    QString current = QFileInfo(path).absoluteFilePath();
    // As many hops as the kernel allows before it reports a loop.
    for (int hops = 0; hops < 40; ++hops) {
        const QByteArray native = QFile::encodeName(current);
        struct stat st;
        if (::lstat(native.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        QByteArray target(qsizetype(st.st_size > 0 ? st.st_size : 4096) + 1, Qt::Uninitialized);
        const ssize_t n = ::readlink(native.constData(), target.data(), size_t(target.size()));
        if (n < 0 || n >= target.size())
            return current;
        target.truncate(n);
        const QString next = QFile::decodeName(target);
        current = QDir::cleanPath(QFileInfo(next).isAbsolute() ? next
                                                               : QFileInfo(current).absolutePath()
                                          + QLatin1Char('/') + next);
    }
    return current;
}

namespace {
std::atomic<int> injectedFailure{0};
} // namespace

void AtomicFile::failWritesForTesting(int errorNumber)
{
    injectedFailure.store(errorNumber);
}

bool AtomicFile::write(const QString &path, const QByteArray &bytes, QString *error,
                       int *errorNumber)
{
    auto failedWith = [error, errorNumber](int code, const QString &why) {
        if (error)
            *error = why;
        if (errorNumber)
            *errorNumber = code;
        return false;
    };
    auto failed = [&failedWith](const QString &why) { return failedWith(errno, why); };

    const QFileInfo info(resolveLinks(path));
    const QDir dir = info.absoluteDir();
    if (!dir.exists()) {
        if (!QDir().mkpath(dir.absolutePath()))
            return failed(
                QStringLiteral("the folder %1 could not be created").arg(dir.absolutePath()));
        QFile::setPermissions(dir.absolutePath(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                  | QFileDevice::ExeOwner);
    }
    removeStaleTemporaries(dir, info.fileName());

    mode_t mode = S_IRUSR | S_IWUSR;
    struct stat existing;
    const QByteArray nativePath = QFile::encodeName(info.absoluteFilePath());
    if (::stat(nativePath.constData(), &existing) == 0) {
        // Renaming over a FIFO or a device would replace what another program relies on, and
        // over /dev/zero, as root, the system's own.
        if (S_ISDIR(existing.st_mode))
            return failedWith(EISDIR, QStringLiteral("a folder is in the file's place"));
        if (!S_ISREG(existing.st_mode))
            return failedWith(EEXIST,
                              QStringLiteral("something that is not a file is in its place"));
        mode = existing.st_mode & 07777;
    }
    if (const int injected = injectedFailure.load())
        return failedWith(injected, QString::fromLocal8Bit(std::strerror(injected)));

    QByteArray tmpl =
        QFile::encodeName(dir.filePath(temporaryPrefix(info.fileName())
                                       + QString::number(::getpid()) + QStringLiteral("-XXXXXX")));
    const int fd = ::mkstemp(tmpl.data()); // created 0600
    if (fd < 0)
        return failed(errnoText());

    const bool written = writeAll(fd, bytes.constData(), bytes.size()) && ::fchmod(fd, mode) == 0
        && ::fsync(fd) == 0;
    int code = written ? 0 : errno;
    if (::close(fd) != 0 && code == 0)
        code = errno; // NFS and some FUSE file systems say a full disk only here
    if (code != 0) {
        ::unlink(tmpl.constData());
        return failedWith(code, QString::fromLocal8Bit(std::strerror(code)));
    }
    if (::rename(tmpl.constData(), nativePath.constData()) != 0) {
        const int renameError = errno;
        ::unlink(tmpl.constData());
        return failedWith(renameError, QString::fromLocal8Bit(std::strerror(renameError)));
    }
    // The rename itself must survive a power cut too.
    const int dirFd =
        ::open(QFile::encodeName(dir.absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

namespace {

QString asideName(const QString &path, const QString &suffix)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = QStringLiteral("%1.%2.%3").arg(path, stamp, suffix);
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = QStringLiteral("%1.%2-%3.%4").arg(path, stamp).arg(n).arg(suffix);
    return target;
}

} // namespace

QString AtomicFile::keepAside(const QString &linkOrPath)
{
    const QString path = resolveLinks(linkOrPath);
    const QString target = asideName(path, QStringLiteral("damaged"));
    if (!QFile::rename(path, target))
        return {};
    return target;
}

QString AtomicFile::keepCopyAside(const QString &linkOrPath, const QString &suffix)
{
    const QString path = resolveLinks(linkOrPath);
    const QString target = asideName(path, suffix);
    if (::link(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) == 0)
        return target;
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly) || !write(target, source.readAll()))
        return {};
    return target;
}
