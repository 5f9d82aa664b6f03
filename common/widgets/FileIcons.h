#pragma once

#include <QHash>
#include <QIcon>
#include <QString>

class QFileInfo;
class QMimeType;

// The desktop theme's icon for a file of a type: the type's own icon, else its generic one, else
// what Qt draws for files and folders when the theme has neither.
namespace FileIcons {
QIcon forType(const QFileInfo &info, const QMimeType &mime);
} // namespace FileIcons

// The icons of a folder's rows, each type drawn once: a folder of thousands of files holds a
// handful of types. A name with an extension is typed by it alone, with no look at the disk; a
// name without one ("Makefile", "README", a socket, a link to a folder) by its MIME type, so that
// such names never share the first one's icon. Main thread.
class FileTypeIcons
{
public:
    explicit FileTypeIcons(int size = 16)
        : mSize(size)
    {
    }
    // `isDirectory` and `isPackage` as the caller lists the item (a package is a folder shown
    // as one item).
    QIcon iconFor(const QString &path, bool isDirectory, bool isPackage = false);
    // The type an icon is kept under; exposed for tests.
    static QString typeKey(const QString &path, bool isDirectory, bool isPackage = false);

private:
    QHash<QString, QIcon> mByType;
    int mSize;
};
