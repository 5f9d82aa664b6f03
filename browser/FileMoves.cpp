#include "FileMoves.h"

#include "NativeFileName.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace {

int renameNoReplace(const char *from, const char *to)
{
#ifdef SYS_renameat2
    return int(::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE));
#else
    errno = ENOSYS;
    return -1;
#endif
}

QString reasonOf(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

bool FileMoves::somethingAt(const QString &path)
{
    struct stat status {
    };
    return ::lstat(NativeFileName::toNative(path).constData(), &status) == 0;
}

FileMoves::Result FileMoves::moveWithoutReplacing(const QString &from, const QString &to,
                                                  QString *error)
{
    const QByteArray source = NativeFileName::toNative(from);
    const QByteArray target = NativeFileName::toNative(to);
    if (renameNoReplace(source.constData(), target.constData()) == 0)
        return Result::Moved;
    int failure = errno;
    if (failure == EEXIST)
        return Result::TargetExists;
    if (failure == EINVAL || failure == ENOSYS || failure == ENOTSUP) {
        // No RENAME_NOREPLACE here (some network and FUSE file systems): a hard link cannot
        // replace anything either.
        struct stat status {
        };
        const bool folder = ::lstat(source.constData(), &status) == 0 && S_ISDIR(status.st_mode);
        if (!folder) {
            if (::link(source.constData(), target.constData()) == 0) {
                if (::unlink(source.constData()) == 0)
                    return Result::Moved;
                failure = errno;
                ::unlink(target.constData());
            } else {
                failure = errno;
                if (failure == EEXIST)
                    return Result::TargetExists;
            }
        }
        // Folders, and file systems without hard links: a checked rename, which only another
        // program writing the same name at the same instant could defeat.
        if (folder || failure == EPERM || failure == ENOTSUP || failure == EXDEV
            || failure == EOPNOTSUPP) {
            if (somethingAt(to))
                return Result::TargetExists;
            if (::rename(source.constData(), target.constData()) == 0)
                return Result::Moved;
            failure = errno;
        }
    }
    if (error)
        *error = reasonOf(failure);
    return Result::Failed;
}
