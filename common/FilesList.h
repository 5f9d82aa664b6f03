#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

// The rules of the user's own files and folders ("FilesList", kind 2 records) and of the folders
// the application scanner walks ("AppsFoldersList"), as the manager maintains them.
class FilesList
{
public:
    FilesList() = delete;

    // {"x": 2, "T": the path's display name, "P": the path, "D": 1 for a folder, else 0}.
    static QVariantMap recordForPath(const QString &path);

    // Appends the path's record and sorts; false (the list untouched) when a record already has
    // exactly this path.
    static bool addPath(QVariantList &list, const QString &path);

    // Files order: by the last component of the displayed path, ignoring case; a record without
    // a path first; records that compare equal keep their order.
    static void sort(QVariantList &list);

    // Removes the records the selected rows show (row r shows the record at shown[r]).
    static void removeRows(QVariantList &list, const QList<int> &shown,
                           const QList<int> &selectedRows);

    // Sets "F" to 1 or 0 on the folder records at the given positions, leaving files alone;
    // returns how many folders were set.
    static int setIncludeContents(QVariantList &list, const QList<int> &positions, bool include);

    // What "FilesList" holds before the user changes it, stored by the manager at its first start
    // and searched by the agent while the key is absent: the home folder, and with their contents
    // included the documents, desktop and download folders (the desktop's user folders, from
    // "user-dirs.dirs"; "~/Documents" without it), those that exist, in files order.
    static QVariantList defaultFilesList();

    // Appends an existing folder that is not yet listed (exact comparison); false otherwise.
    static bool addApplicationFolder(QStringList &folders, const QString &path);
};
