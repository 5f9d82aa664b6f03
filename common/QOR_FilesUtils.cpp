#include "QOR_FilesUtils.h"

#include "platform/MountTable.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace {

bool statNoFollow(const QString &path, struct stat &st)
{
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

} // namespace

bool QOR_FilesUtils::createStandardFolder(const QString &path)
{
    struct stat st;
    if (statNoFollow(path, st)) {
        if (isLocked(path))
            setLockedLocked(path, false);
        return true;
    }
    if (isRootOfVolume(path))
        return false;

    // Create level by level so that each new folder gets the private mode.
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QStringList parts = absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current;
    for (const QString &part : parts) {
        current += QLatin1Char('/') + part;
        const QByteArray native = QFile::encodeName(current);
        if (::mkdir(native.constData(), S_IRWXU) != 0 && errno != EEXIST)
            return false;
    }
    return QFileInfo(absolute).isDir();
}

bool QOR_FilesUtils::isRootOfVolume(const QString &path)
{
    if (path.isEmpty() || path == QLatin1String("/"))
        return true;
    const QString clean = QDir::cleanPath(path);
    for (const MountTable::Mount &mount : MountTable::realFileSystems()) {
        if (mount.mountPoint == clean)
            return true;
    }
    return false;
}

bool QOR_FilesUtils::isLocked(const QString &path)
{
    struct stat st;
    if (!statNoFollow(path, st))
        return false;
    return (st.st_mode & S_IWUSR) == 0;
}

int QOR_FilesUtils::setLockedLocked(const QString &path, bool locked)
{
    struct stat st;
    if (!statNoFollow(path, st))
        return StatusFileNotFound;
    if (S_ISLNK(st.st_mode))
        return StatusOK; // links carry no permissions of their own on Linux
    const bool isLockedNow = (st.st_mode & S_IWUSR) == 0;
    if (isLockedNow == locked)
        return StatusOK;
    const mode_t mode = locked ? (st.st_mode & ~S_IWUSR) : (st.st_mode | S_IWUSR);
    ::chmod(QFile::encodeName(path).constData(), mode & 07777);
    return StatusOK;
}
