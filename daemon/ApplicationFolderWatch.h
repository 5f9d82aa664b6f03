#pragma once

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Watches the application folders of "AppsFoldersList", and the folders below them (desktop
// entries may sit in subfolders), for entries added, removed or renamed. A burst of changes (a
// package installing a hundred files) gives one `changed` once the folders have been quiet for
// QuietMs, and at the latest MaxWaitMs after the burst began.
class ApplicationFolderWatch : public QObject
{
    Q_OBJECT

public:
    static constexpr int QuietMs = 2000;
    static constexpr int MaxWaitMs = 10000;
    // inotify watches are a per-user resource shared with every other program.
    static constexpr int MaxWatchedFolders = 512;

    explicit ApplicationFolderWatch(QObject *parent = nullptr);

    // Watches these folders (and their subfolders, links not followed) instead of the ones
    // before. Folders that do not exist are skipped; they are looked at again at the next call.
    void setFolders(const QStringList &folders);
    QStringList watchedFolders() const { return mWatcher.directories(); }
    // Tests: a shorter quiet time.
    void setQuietMs(int ms) { mQuietMs = ms; }
    // `changed` again later (the scan it asked for could not start yet).
    void retryLater();

signals:
    void changed();

private:
    void folderChanged();

    QFileSystemWatcher mWatcher;
    QTimer mQuiet;
    QElapsedTimer mBurst;
    int mQuietMs = QuietMs;
};
