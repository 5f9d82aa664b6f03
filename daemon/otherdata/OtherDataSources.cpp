#include "OtherDataSources.h"

#include "BoundedFile.h"
#include "SharedPreferences.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

namespace {

bool beginsWithSignature(const QString &path, const QByteArray &signature)
{
    if (signature.isEmpty())
        return false;
    QByteArray head = BoundedFile::readHead(path, 256).bytes;
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

std::optional<QByteArray> OtherDataSources::readFile(const QString &path, qint64 limit)
{
    BoundedFile::Result read = BoundedFile::read(path, limit);
    if (!read.isRead()) {
        // Listed a moment ago: a file gone since is worth a line too.
        if (read.status == BoundedFile::Status::Missing)
            read.status = BoundedFile::Status::Failed;
        BoundedFile::logFailure(path, read);
        return std::nullopt;
    }
    return std::move(read.bytes);
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
