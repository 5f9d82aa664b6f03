#include "OtherDataSources.h"

#include "KorvaleLog.h"
#include "SharedPreferences.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool beginsWithSignature(const QString &path, const QByteArray &signature)
{
    QFile file(path);
    if (signature.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    QByteArray head = file.read(256);
    if (head.startsWith("\xEF\xBB\xBF"))
        head = head.mid(3);
    return head.trimmed().toUpper().startsWith(signature.toUpper());
}

bool isWanted(const QFileInfo &info, const QStringList &suffixes, const QByteArray &signature)
{
    if (!info.isFile())
        return false;
    const QString suffix = info.suffix();
    const bool named =
        std::any_of(suffixes.cbegin(), suffixes.cend(), [&suffix](const QString &wanted) {
            return suffix.compare(wanted, Qt::CaseInsensitive) == 0;
        });
    return named || beginsWithSignature(info.filePath(), signature);
}

QString expandedHome(const QString &path)
{
    if (path == QLatin1String("~"))
        return QDir::homePath();
    if (path.startsWith(QLatin1String("~/")))
        return QDir::homePath() + path.mid(1);
    return path;
}

} // namespace

std::optional<QByteArray> OtherDataSources::readFile(const QString &path)
{
    const auto failed = [&path](int error) {
        KorvaleLog::line(QStringLiteral("Exception reading file %1: %2: %3")
                             .arg(path, QStringLiteral("ReadFailed"),
                                  QString::fromLocal8Bit(std::strerror(error))));
        return std::nullopt;
    };
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return failed(errno);
    struct stat info {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = errno ? errno : EISDIR;
        ::close(fd);
        return failed(error);
    }
    QByteArray bytes;
    // Nothing to read in an empty file; and a /proc entry, which says it is empty, may never end.
    if (info.st_size == 0 || info.st_size > MaxFileSize) {
        ::close(fd);
        return bytes;
    }
    // One read more than the size says, to see the end (or a file that grew meanwhile).
    bytes.resize(qsizetype(info.st_size) + 1);
    qsizetype filled = 0;
    while (true) {
        if (filled == bytes.size()) {
            if (bytes.size() > MaxFileSize)
                break;
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t got = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            return failed(error);
        }
        if (got == 0)
            break;
        filled += got;
    }
    ::close(fd);
    bytes.truncate(filled);
    return bytes;
}

QString OtherDataSources::dataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QStringList OtherDataSources::preferencePaths(const QString &key)
{
    const SharedPreferences preferences;
    QStringList paths;
    if (const std::optional<QVariantList> list = preferences.listValue(key)) {
        for (const QVariant &entry : *list) {
            if (entry.typeId() == QMetaType::QString)
                paths.append(entry.toString());
        }
    } else if (const std::optional<QString> one = preferences.stringValue(key)) {
        paths.append(*one);
    }
    QStringList expanded;
    for (const QString &path : paths) {
        if (!path.trimmed().isEmpty())
            expanded.append(expandedHome(path.trimmed()));
    }
    return expanded;
}

QStringList OtherDataSources::filesIn(const QStringList &paths, const QStringList &suffixes,
                                      const QByteArray &signature)
{
    QStringList files;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.isFile()) {
            files.append(info.absoluteFilePath());
            continue;
        }
        if (!info.isDir())
            continue;
        QStringList found;
        QDirIterator walk(path, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (walk.hasNext()) {
            walk.next();
            if (isWanted(walk.fileInfo(), suffixes, signature))
                found.append(walk.filePath());
        }
        std::sort(found.begin(), found.end());
        files += found;
    }
    files.removeDuplicates();
    return files;
}
