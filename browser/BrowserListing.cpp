#include "BrowserListing.h"

#include "NativeFileName.h"

#include <QFile>
#include <QSet>
#include <QStringView>

#include <dirent.h>
#include <sys/stat.h>

namespace {

BrowserListing::Type typeOfDirent(unsigned char type)
{
    switch (type) {
    case DT_DIR:
        return BrowserListing::Type::Directory;
    case DT_LNK:
        return BrowserListing::Type::Link;
    case DT_SOCK:
        return BrowserListing::Type::Socket;
    case DT_REG:
        return BrowserListing::Type::Regular;
    case DT_UNKNOWN:
        return BrowserListing::Type::Unknown;
    default:
        return BrowserListing::Type::Other;
    }
}

} // namespace

QStringList BrowserListing::hiddenNames(const QString &folder)
{
    // A list of names, never large; a bigger file is no ".hidden" file a file manager wrote.
    const BoundedFile::Result read =
        BoundedFile::read(folder + QStringLiteral("/.hidden"), MaxHiddenFileSize);
    return read.isRead() ? hiddenNamesFromBytes(read.bytes) : QStringList();
}

QStringList BrowserListing::hiddenNamesFromBytes(const QByteArray &contents)
{
    QStringList names;
    for (const QByteArray &line : contents.split('\n')) {
        const QByteArray name = line.endsWith('\r') ? line.chopped(1) : line;
        if (!name.isEmpty())
            names << NativeFileName::fromNative(name);
    }
    return names;
}

QList<BrowserListing::Entry> BrowserListing::read(const QString &folder, bool showInvisible)
{
    QList<Entry> entries;
    DIR *directory = ::opendir(NativeFileName::toNative(folder).constData());
    if (!directory)
        return entries;
    QSet<QString> hidden;
    if (!showInvisible) {
        const QStringList names = hiddenNames(folder);
        hidden = QSet<QString>(names.cbegin(), names.cend());
    }
    while (const dirent *entry = ::readdir(directory)) {
        const char *name = entry->d_name;
        if (name[0] == '\0'
            || (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))))
            continue;
        if (!showInvisible && name[0] == '.')
            continue;
        // Kept byte for byte, so that a name that is not UTF-8 can still be renamed or dated.
        Entry kept{NativeFileName::fromNative(QByteArray(name)), typeOfDirent(entry->d_type)};
        if (!hidden.isEmpty() && hidden.contains(kept.name))
            continue;
        entries.append(std::move(kept));
    }
    ::closedir(directory);
    return entries;
}

bool BrowserListing::isPackageName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QStringView extension = QStringView(name).mid(dot + 1);
    return extension == u"app" || extension == u"prefPane" || extension == u"plugin";
}

BrowserListing::Type BrowserListing::typeAt(const QString &path)
{
    struct stat status {
    };
    if (::lstat(NativeFileName::toNative(path).constData(), &status) != 0)
        return Type::Unknown;
    if (S_ISDIR(status.st_mode))
        return Type::Directory;
    if (S_ISLNK(status.st_mode))
        return Type::Link;
    if (S_ISSOCK(status.st_mode))
        return Type::Socket;
    if (S_ISREG(status.st_mode))
        return Type::Regular;
    return Type::Other;
}
