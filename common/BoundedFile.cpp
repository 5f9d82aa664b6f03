#include "BoundedFile.h"

#include "KorvaleLog.h"
#include "NativeFileName.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using BoundedFile::Result;
using BoundedFile::Status;

Result failure(Status status, const QString &reason)
{
    Result result;
    result.status = status;
    result.reason = reason;
    return result;
}

Result systemFailure(int error)
{
    const Status status = error == ENOENT || error == ENOTDIR ? Status::Missing : Status::Failed;
    return failure(status, QString::fromLocal8Bit(std::strerror(error)));
}

QString typeName(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("not a plain file");
}

Result notRegular(mode_t mode)
{
    return failure(Status::NotRegular,
                   QStringLiteral("not a regular file (%1)").arg(typeName(mode)));
}

Result tooLarge(qint64 limit)
{
    return failure(Status::TooLarge, QStringLiteral("larger than %1 bytes").arg(limit));
}

// `refuseLonger`: a file past `limit` gives nothing (read); else its first `limit` bytes (head).
Result readBounded(const QByteArray &native, qint64 limit, bool refuseLonger)
{
    if (native.isEmpty())
        return failure(Status::Missing, QStringLiteral("no path"));
    limit = std::max<qint64>(limit, 0);
    // Looked at before opening: opening a device can have effects of its own (a tape rewinds).
    struct stat before {
    };
    if (::stat(native.constData(), &before) != 0)
        return systemFailure(errno);
    if (!S_ISREG(before.st_mode))
        return notRegular(before.st_mode);
    if (refuseLonger && before.st_size > limit)
        return tooLarge(limit);

    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return systemFailure(errno);
    struct stat opened {
    };
    if (::fstat(fd, &opened) != 0) {
        const int error = errno;
        ::close(fd);
        return systemFailure(error);
    }
    // Swapped for something else between the look and the opening.
    if (!S_ISREG(opened.st_mode)) {
        ::close(fd);
        return notRegular(opened.st_mode);
    }
    if (refuseLonger && opened.st_size > limit) {
        ::close(fd);
        return tooLarge(limit);
    }
    // A /proc entry says it is empty and may never end (or wait, as /proc/kmsg does): a file
    // that says it is empty is not read.
    if (opened.st_size == 0) {
        ::close(fd);
        Result empty;
        empty.status = Status::Read;
        return empty;
    }
    // Regular files ignore the flag, but a file system may not: reads should wait for the disk.
    // Of the flags F_SETFL changes (append, async, direct, no-atime, non-blocking), only the
    // last was set.
    ::fcntl(fd, F_SETFL, 0);

    // One byte past the limit tells a file at the limit from a longer one.
    const qint64 ceiling = refuseLonger ? limit + 1 : limit;
    Result result;
    result.bytes.resize(qsizetype(std::min<qint64>(qint64(opened.st_size) + 1, ceiling)));
    qsizetype filled = 0;
    while (filled < ceiling) {
        if (filled == result.bytes.size())
            result.bytes.resize(qsizetype(std::min<qint64>(qint64(filled) * 2, ceiling)));
        const ssize_t got =
            ::read(fd, result.bytes.data() + filled, size_t(result.bytes.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            return failure(Status::Failed, QString::fromLocal8Bit(std::strerror(error)));
        }
        if (got == 0)
            break;
        filled += got;
    }
    ::close(fd);
    if (refuseLonger && filled > limit)
        return tooLarge(limit);
    result.bytes.truncate(filled);
    result.status = Status::Read;
    return result;
}

} // namespace

BoundedFile::Result BoundedFile::read(const QString &path, qint64 limit)
{
    return readBounded(NativeFileName::toNative(path), limit, true);
}

BoundedFile::Result BoundedFile::readNative(const QByteArray &nativePath, qint64 limit)
{
    return readBounded(nativePath, limit, true);
}

BoundedFile::Result BoundedFile::readHead(const QString &path, qint64 count)
{
    return readBounded(NativeFileName::toNative(path), count, false);
}

bool BoundedFile::isRegularFile(const QString &path)
{
    return isRegularFile(NativeFileName::toNative(path));
}

bool BoundedFile::isRegularFile(const QByteArray &nativePath)
{
    struct stat info {
    };
    return !nativePath.isEmpty() && ::stat(nativePath.constData(), &info) == 0
        && S_ISREG(info.st_mode);
}

void BoundedFile::logFailure(const QString &path, const Result &result)
{
    const char *name = nullptr;
    switch (result.status) {
    case Status::Read:
    case Status::Missing:
        return;
    case Status::NotRegular:
        name = "NotRegularFile";
        break;
    case Status::TooLarge:
        name = "FileTooLarge";
        break;
    case Status::Failed:
        name = "ReadFailed";
        break;
    }
    KorvaleLog::line(QStringLiteral("Exception reading file %1: %2: %3")
                         .arg(path, QLatin1String(name), result.reason));
}
