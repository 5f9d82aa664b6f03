#pragma once

#include <QList>
#include <QString>

// One folder's children as its menu lists them: hidden names left out, sorted by display name.
class FolderListing
{
public:
    FolderListing() = delete;

    struct Child {
        QString path;
        QString name; // the display name
        bool folder = false; // listed with a submenu of its own
        bool directory = false; // a package too

        bool operator==(const Child &) const = default;
    };

    // Folders named *.app, *.prefPane or *.plugin (exact case) are packages: plain entries
    // unless their contents are shown.
    static bool isPackageName(const QString &name);
    // An existing directory, and not a package unless package contents are shown.
    static bool isFolderToDescend(const QString &path, bool showPackageContents);
    // Empty for an unreadable or missing folder. Reads names and types only, never the
    // children's own contents.
    static QList<Child> read(const QString &folder, bool showPackageContents);
};
