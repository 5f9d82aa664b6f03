#pragma once

#include <QList>
#include <QString>

#include <memory>

// The machine services a run needs from its worker thread: the Trash, moving and copying files,
// and the processes started from an installed program. Tests replace parts of it.
class InstallerSystem
{
public:
    virtual ~InstallerSystem();

    // The freedesktop Trash of the item's file system.
    virtual bool moveToTrash(const QString &path);
    // Renames within one file system; false across file systems or where the folders refuse.
    virtual bool renameItem(const QString &from, const QString &to);
    // A file, or a folder with everything in it; permissions kept.
    virtual bool copyItem(const QString &from, const QString &to);
    // A file, or a folder with everything in it. Nothing is removed unless all of it can be, as
    // far as the folders' permissions and file systems tell: a folder is never left emptied
    // but in place.
    virtual bool removeItem(const QString &path);

    // `copy` holds what `original` holds: the same entries, the same bytes, the same links.
    static bool sameItem(const QString &original, const QString &copy);

    // The processes whose program is `path` or lies inside the folder `path`, this one excepted.
    virtual QList<qint64> processesStartedFrom(const QString &path);
    // Asks the process to quit (SIGTERM).
    virtual bool terminateProcess(qint64 pid);
    virtual bool isProcessRunning(qint64 pid);
};
