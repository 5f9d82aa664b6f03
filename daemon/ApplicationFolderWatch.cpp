#include "ApplicationFolderWatch.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

ApplicationFolderWatch::ApplicationFolderWatch(QObject *parent)
    : QObject(parent)
{
    mQuiet.setSingleShot(true);
    connect(&mWatcher, &QFileSystemWatcher::directoryChanged, this,
            &ApplicationFolderWatch::folderChanged);
    connect(&mQuiet, &QTimer::timeout, this, [this] {
        mBurst.invalidate();
        emit changed();
    });
}

void ApplicationFolderWatch::setFolders(const QStringList &folders)
{
    QStringList wanted;
    QSet<QString> seen;
    QStringList pending = folders;
    while (!pending.isEmpty() && wanted.size() < MaxWatchedFolders) {
        const QString folder = QDir::cleanPath(pending.takeFirst());
        const QFileInfo info(folder);
        // The listed folder may itself be a link; the walk does not follow links below it.
        const QString real = info.canonicalFilePath();
        if (real.isEmpty() || !info.isDir() || seen.contains(real))
            continue;
        seen.insert(real);
        wanted << folder;
        const QFileInfoList below = QDir(folder).entryInfoList(
            QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
        for (const QFileInfo &child : below)
            pending << child.filePath();
    }
    const QStringList watched = mWatcher.directories();
    QStringList gone;
    for (const QString &folder : watched) {
        if (!wanted.contains(folder))
            gone << folder;
    }
    if (!gone.isEmpty())
        mWatcher.removePaths(gone);
    QStringList added;
    for (const QString &folder : std::as_const(wanted)) {
        if (!watched.contains(folder))
            added << folder;
    }
    if (!added.isEmpty())
        mWatcher.addPaths(added);
}

void ApplicationFolderWatch::folderChanged()
{
    if (!mBurst.isValid())
        mBurst.start();
    // Restarted at each change of a burst, but never past its longest wait.
    const qint64 left = MaxWaitMs - mBurst.elapsed();
    mQuiet.start(int(std::clamp<qint64>(left, 0, mQuietMs)));
}

void ApplicationFolderWatch::retryLater()
{
    mQuiet.start(mQuietMs);
}
