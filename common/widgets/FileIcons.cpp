#include "FileIcons.h"

#include "DesktopIcons.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QMimeType>

namespace {

const QMimeDatabase &mimeDatabase()
{
    static const QMimeDatabase mimes;
    return mimes;
}

QMimeType typeOf(const QFileInfo &info, bool isDirectory)
{
    // By name only: reading the files of a large folder to draw its rows would be slow. The
    // database still tells folders (a link to one too), sockets, pipes and devices apart.
    return isDirectory ? mimeDatabase().mimeTypeForName(QStringLiteral("inode/directory"))
                       : mimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
}

} // namespace

QIcon FileIcons::forType(const QFileInfo &info, const QMimeType &mime)
{
    return DesktopIcons::forType(info, mime);
}

QString FileTypeIcons::typeKey(const QString &path, bool isDirectory, bool isPackage)
{
    if (isDirectory)
        return QStringLiteral("/");
    if (isPackage)
        return QStringLiteral("/app");
    const QFileInfo info(path);
    const QString suffix = info.suffix().toLower();
    if (!suffix.isEmpty())
        return QLatin1Char('.') + suffix;
    return QStringLiteral("type:") + typeOf(info, false).name();
}

QIcon FileTypeIcons::iconFor(const QString &path, bool isDirectory, bool isPackage)
{
    const QString key = typeKey(path, isDirectory, isPackage);
    const auto found = mByType.constFind(key);
    if (found != mByType.constEnd())
        return *found;
    const QFileInfo info(path);
    const QIcon icon(FileIcons::forType(info, typeOf(info, isDirectory)).pixmap(mSize, mSize));
    mByType.insert(key, icon);
    return icon;
}
