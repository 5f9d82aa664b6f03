#include "FolderListing.h"

#include "QOR_StringUtils.h"
#include "TextMatching.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

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
    // The iterator reads the catalog a batch at a time and stops at the first read error.
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (name.startsWith(QLatin1Char('.')))
            continue;
        // The type comes with the directory entry; only links need a look at their target.
        const QFileInfo info = it.fileInfo();
        const bool directory = info.isDir();
        Child child;
        child.path = prefix + name;
        // Only desktop entries have a name of their own; the others need no second look.
        child.name = name.endsWith(QLatin1String(".desktop"))
            ? QOR_StringUtils::localizedNameAtPath(child.path)
            : name;
        child.directory = directory;
        child.folder = directory && (showPackageContents || !isPackageName(name));
        children.append(child);
    }
    std::stable_sort(children.begin(), children.end(), [](const Child &a, const Child &b) {
        return TextMatching::compareTitles(QStringView(a.name), QStringView(b.name)) < 0;
    });
    return children;
}
