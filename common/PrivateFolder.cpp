#include "PrivateFolder.h"

#include "KorvaleLog.h"
#include "QOR_FilesUtils.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t OthersBits = S_IRWXG | S_IRWXO;

QString octal(mode_t mode)
{
    return QStringLiteral("%1").arg(unsigned(mode & 07777), 4, 8, QLatin1Char('0'));
}

// What was written there while the folder was open keeps the owner's bits only.
void closeFilesIn(const QString &path)
{
    const QDir folder(path);
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QByteArray native = QFile::encodeName(folder.filePath(name));
        struct stat st;
        if (::lstat(native.constData(), &st) == 0 && S_ISREG(st.st_mode)
            && (st.st_mode & OthersBits) != 0)
            ::chmod(native.constData(), st.st_mode & S_IRWXU);
    }
}

} // namespace

bool PrivateFolder::ensure(const QString &path)
{
    if (!QOR_FilesUtils::createStandardFolder(path))
        return false;
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    if (::stat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    // Another owner's folder (one the user pointed the suite at) is not ours to change.
    if ((st.st_mode & OthersBits) == 0 || st.st_uid != ::geteuid())
        return true;
    if (::chmod(native.constData(), S_IRWXU) != 0) {
        KorvaleLog::line(QStringLiteral("%1 is open to other users (mode %2) and stays so: %3")
                             .arg(path, octal(st.st_mode), QString::fromLocal8Bit(strerror(errno))));
        return true;
    }
    closeFilesIn(path);
    KorvaleLog::line(QStringLiteral("%1 was open to other users (mode %2); only its owner may "
                                    "enter it now (0700)")
                         .arg(path, octal(st.st_mode)));
    return true;
}
