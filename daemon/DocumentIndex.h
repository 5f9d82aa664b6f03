#pragma once

#include "DocumentFolderWalk.h"

#include <QFuture>
#include <QObject>
#include <QSet>
#include <QSocketNotifier>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <QVariantList>

#include <atomic>
#include <memory>

// The documents of the included folders: walked on a thread of its own, saved there to
// "Documents.krvdata" when they changed, handed back to the owner's thread, and kept current by
// inotify watches on every folder walked. Past the user's watch limit the folders are rescanned
// on a timer instead (said once in the log).
class DocumentIndex : public QObject
{
    Q_OBJECT

public:
    struct Options {
        DocumentWalkLimits limits;
        QString file; // where the list is saved; empty saves nothing
        int watchLimit = -1; // at most this many watches (tests); -1: as many as the system gives
        int fallbackIntervalMs = 60000;
        int settleMs = 300; // a burst of changes is one rescan
    };

    explicit DocumentIndex(Options options, QObject *parent = nullptr);
    // Stops and waits for a running walk; its result is dropped.
    ~DocumentIndex() override;

    // The included folders; a change rescans. The first call starts the first index.
    void setFolders(const QStringList &folders);
    QStringList folders() const { return mFolders; }
    // The list as the last walk left it (before the first one: empty).
    QVariantList documents() const { return mDocuments; }

    // At once, or right after the running walk.
    void rescan();

    bool isIndexing() const { return mFuture.isRunning() || mWalkRunning; }
    bool hasIndexed() const { return mWalks > 0; }
    // Entries found so far by the running walk.
    int progress() const { return mProgress.load(std::memory_order_relaxed); }
    QList<DocumentFolderReport> reports() const { return mReports; }
    bool isWatchFallback() const { return mFallback.isActive(); }
    int walkCount() const { return mWalks; }
    int writeCount() const { return mWrites; }

    // For the quit: returns at once; then waits at most `ms`.
    void requestStop() { mStop = true; }
    bool waitUntilStopped(int ms);

    // The state for the bus: "indexing", "progress", "entries", "watchFallback" and "folders" (a
    // list of {"P", "entries", "cut"}).
    QVariantMap status() const;

signals:
    // After every walk; `changed` when the list differs from the one held before.
    void indexed(bool changed);

private:
    struct WalkOutcome;
    void startWalk();
    void finishWalk(const std::shared_ptr<WalkOutcome> &outcome);
    void readEvents();
    void logCuts();

    Options mOptions;
    QStringList mFolders;
    bool mFoldersSet = false;
    QVariantList mDocuments;
    // Until the first walk read the stored list, what it holds is not known here.
    bool mHaveDocuments = false;
    QList<DocumentFolderReport> mReports;
    QSet<QString> mCutsLogged;

    QThreadPool mPool;
    QFuture<void> mFuture;
    bool mWalkRunning = false;
    bool mPending = false;
    std::atomic<bool> mStop = false;
    std::atomic<int> mProgress = 0;
    std::shared_ptr<DocumentWalkCache> mCache;
    int mWalks = 0;
    int mWrites = 0;

    // The watches belong to the walk thread while it runs (one walk at a time); the owner's
    // thread only reads the events.
    int mInotify = -1;
    std::unique_ptr<QSocketNotifier> mNotifier;
    QSet<int> mWatches;
    bool mWatchesRanOut = false;
    QTimer mSettle;
    QTimer mFallback;
    bool mFallbackLogged = false;
};
