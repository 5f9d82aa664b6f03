#include "FolderListing.h"

#include "QOR_StringUtils.h"
#include "TextMatching.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <dirent.h>

bool FolderListing::isPackageName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QStringView extension = QStringView(name).mid(dot + 1);
    return extension == u"app" || extension == u"prefPane" || extension == u"plugin";
}

bool FolderListing::isFolderToDescend(const QString &path, bool showPackageContents)
{
    if (!QFileInfo(path).isDir())
        return false;
    return showPackageContents || !isPackageName(QFileInfo(path).fileName());
}

QList<FolderListing::Child> FolderListing::read(const QString &folder, bool showPackageContents)
{
    QList<Child> children;
    // The catalog's own entries, read a batch at a time by readdir: their names and types, and
    // a look at the target only for links and file systems that give no type. An unreadable
    // folder lists nothing; a read error ends the listing.
    DIR *directory = ::opendir(QFile::encodeName(folder).constData());
    if (!directory)
        return children;
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    while (const dirent *entry = ::readdir(directory)) {
        if (entry->d_name[0] == '.')
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        Child child;
        child.path = prefix + name;
        bool isDirectory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)
            isDirectory = QFileInfo(child.path).isDir();
        // Only desktop entries have a name of their own; the others need no second look.
        child.name = name.endsWith(QLatin1String(".desktop"))
            ? QOR_StringUtils::localizedNameAtPath(child.path)
            : name;
        child.directory = isDirectory;
        child.folder = isDirectory && (showPackageContents || !isPackageName(name));
        children.append(child);
    }
    ::closedir(directory);
    std::stable_sort(children.begin(), children.end(), [](const Child &a, const Child &b) {
        return TextMatching::compareTitles(QStringView(a.name), QStringView(b.name)) < 0;
    });
    return children;
}
