#pragma once

#include "BoundedFile.h"

#include <QList>
#include <QString>

// A folder's direct entries as the browser lists them, read in one pass of readdir with the
// entries' own types, so that neither the visibility test nor the folder test needs a call per
// entry. Shared by the outline and the folder pop-up menus.
class BrowserListing
{
public:
    BrowserListing() = delete;

    enum class Type { Unknown, Directory, Link, Socket, Regular, Other };

    struct Entry {
        QString name;
        Type type = Type::Unknown; // as readdir gave it; Unknown on file systems that give none
    };

    // Unsorted, in the folder's order. Without `showInvisible`, names starting with "." and the
    // names of the folder's ".hidden" file (as the file managers hide them) are left out. An
    // unreadable or missing folder lists nothing; a read error ends the listing with what was
    // read.
    static QList<Entry> read(const QString &folder, bool showInvisible);

    // The names of a folder's ".hidden" file, one per line.
    static QStringList hiddenNames(const QString &folder);
    static QStringList hiddenNamesFromBytes(const QByteArray &contents);
    static constexpr qint64 MaxHiddenFileSize = BoundedFile::Limit::HiddenList;

    // Folders named *.app, *.prefPane or *.plugin (exact case) are packages.
    static bool isPackageName(const QString &name);

    // The item's own type, not following a final link (lstat).
    static Type typeAt(const QString &path);
};
