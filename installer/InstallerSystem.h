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
    // Renames, or copies then removes across file systems.
    virtual bool moveItem(const QString &from, const QString &to);
    // A file, or a folder with everything in it; permissions kept.
    virtual bool copyItem(const QString &from, const QString &to);

    // The processes whose program is `path` or lies inside the folder `path`, this one excepted.
    virtual QList<qint64> processesStartedFrom(const QString &path);
    // Asks the process to quit (SIGTERM).
    virtual bool terminateProcess(qint64 pid);
    virtual bool isProcessRunning(qint64 pid);
};
