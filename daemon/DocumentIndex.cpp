#include "DocumentIndex.h"

#include "ArchiveFile.h"
#include "ItemRecord.h"
#include "KorvaleLog.h"

#include <QDeadlineTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Written files are heard only for a ".hidden" edited in place; any other file's contents do not
// change the index.
constexpr uint32_t WatchedEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO
    | IN_DELETE_SELF | IN_MOVE_SELF | IN_CLOSE_WRITE | IN_ONLYDIR;

} // namespace

struct DocumentIndex::WalkOutcome {
    DocumentFolderWalk::Result result;
    QVariantList base; // the list compared with
    bool changed = false;
    bool watchesRanOut = false;
};

DocumentIndex::DocumentIndex(Options options, QObject *parent)
    : QObject(parent)
    , mOptions(std::move(options))
    , mCache(std::make_shared<DocumentWalkCache>())
{
    mPool.setMaxThreadCount(1);
    mSettle.setSingleShot(true);
    mSettle.setInterval(mOptions.settleMs);
    connect(&mSettle, &QTimer::timeout, this, &DocumentIndex::rescan);
    mFallback.setInterval(mOptions.fallbackIntervalMs);
    connect(&mFallback, &QTimer::timeout, this, &DocumentIndex::rescan);

    mInotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (mInotify < 0) {
        KorvaleLog::line(QStringLiteral("Documents: no folder watch (%1); the included folders "
                                        "are rescanned every %2 s")
                             .arg(QString::fromLocal8Bit(strerror(errno)))
                             .arg(mOptions.fallbackIntervalMs / 1000));
        mFallbackLogged = true;
        return;
    }
    mNotifier = std::make_unique<QSocketNotifier>(mInotify, QSocketNotifier::Read);
    connect(mNotifier.get(), &QSocketNotifier::activated, this, &DocumentIndex::readEvents);
}

DocumentIndex::~DocumentIndex()
{
    mStop = true;
    mFuture.waitForFinished();
    mNotifier.reset();
    if (mInotify >= 0)
        close(mInotify);
}

void DocumentIndex::setFolders(const QStringList &folders)
{
    if (mFoldersSet && folders == mFolders)
        return;
    mFoldersSet = true;
    mFolders = folders;
    rescan();
}

void DocumentIndex::rescan()
{
    if (mStop)
        return;
    if (mWalkRunning) {
        mPending = true;
        return;
    }
    startWalk();
}

bool DocumentIndex::waitUntilStopped(int ms)
{
    mStop = true;
    QDeadlineTimer deadline(ms);
    while (mFuture.isRunning() && !deadline.hasExpired())
        QThread::msleep(5);
    return !mFuture.isRunning();
}

void DocumentIndex::startWalk()
{
    mWalkRunning = true;
    mPending = false;
    mProgress = 0;
    auto outcome = std::make_shared<WalkOutcome>();
    mFuture = QtConcurrent::run(
        &mPool, [this, outcome, folders = mFolders, old = mDocuments, haveOld = mHaveDocuments] {
            outcome->base = old;
            if (!haveOld && !mOptions.file.isEmpty()) {
                // The first walk compares with the list saved last time, read here: an unchanged
                // tree is then not written again.
                outcome->base = ArchiveFile::readList(mOptions.file);
                DocumentFolderWalk::restoreNativePaths(outcome->base);
            }
            DocumentFolderWalk walk(mOptions.limits, mCache);
            walk.setStopFlag(&mStop);
            walk.setProgress(&mProgress);
            QSet<int> seen;
            if (mInotify >= 0) {
                walk.setFolderVisitor([this, outcome, &seen](const QByteArray &path) {
                    if (outcome->watchesRanOut
                        || (mOptions.watchLimit >= 0 && seen.size() >= mOptions.watchLimit)) {
                        outcome->watchesRanOut = true;
                        return;
                    }
                    const int watch = inotify_add_watch(mInotify, path.constData(), WatchedEvents);
                    if (watch >= 0)
                        seen.insert(watch);
                    else if (errno == ENOSPC)
                        outcome->watchesRanOut = true;
                });
            }
            outcome->result = walk.walk(folders);
            if (outcome->result.stopped)
                return;
            if (!outcome->result.unchanged) {
                // Watches of folders no longer walked go; the kernel drops those of removed ones.
                for (const int watch : std::as_const(mWatches)) {
                    if (!seen.contains(watch))
                        inotify_rm_watch(mInotify, watch);
                }
                mWatches = seen;
                // Compared and saved here: a list of many thousands would stall the owner's thread.
                outcome->changed = outcome->result.records != outcome->base;
                if (outcome->changed && !mOptions.file.isEmpty())
                    ArchiveFile::write(mOptions.file, outcome->result.records);
                mWatchesRanOut = outcome->watchesRanOut;
            } else {
                outcome->watchesRanOut = mWatchesRanOut;
            }
            outcome->watchesRanOut = outcome->watchesRanOut || mInotify < 0;
            QMetaObject::invokeMethod(
                this, [this, outcome] { finishWalk(outcome); }, Qt::QueuedConnection);
        });
}

void DocumentIndex::finishWalk(const std::shared_ptr<WalkOutcome> &outcome)
{
    mWalkRunning = false;
    ++mWalks;
    const DocumentFolderWalk::Result &result = outcome->result;
    mReports = result.folders;
    mProgress = 0;
    for (const DocumentFolderReport &report : std::as_const(mReports))
        mProgress += report.entries;
    if (outcome->changed) {
        mDocuments = result.records;
        if (!mOptions.file.isEmpty())
            ++mWrites;
    } else if (!mHaveDocuments) {
        mDocuments = outcome->base;
    }
    mHaveDocuments = true;
    logCuts();

    if (outcome->watchesRanOut && !mFallback.isActive()) {
        mFallback.start();
        if (!mFallbackLogged)
            KorvaleLog::line(QStringLiteral("Documents: the folder watch limit is reached; the "
                                            "included folders are rescanned every %1 s")
                                 .arg(mOptions.fallbackIntervalMs / 1000));
        mFallbackLogged = true;
    } else if (!outcome->watchesRanOut && mFallback.isActive()) {
        mFallback.stop();
    }
    emit indexed(outcome->changed);
    if (mPending)
        startWalk();
}

void DocumentIndex::readEvents()
{
    alignas(inotify_event) char buffer[16384];
    bool any = false;
    ssize_t length = 0;
    while ((length = read(mInotify, buffer, sizeof buffer)) > 0) {
        for (ssize_t at = 0; at + ssize_t(sizeof(inotify_event)) <= length;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            const bool written = (event->mask & ~uint32_t(IN_ISDIR)) == IN_CLOSE_WRITE;
            if (!written || (event->len > 0 && qstrcmp(event->name, ".hidden") == 0))
                any = true;
            at += ssize_t(sizeof(inotify_event)) + event->len;
        }
    }
    if (any && !mSettle.isActive())
        mSettle.start();
}

void DocumentIndex::logCuts()
{
    for (const DocumentFolderReport &report : std::as_const(mReports)) {
        if (report.cut.reason == DocumentWalkCut::Reason::None)
            continue;
        const QString line = QStringLiteral("Documents: %1: %2 entries, cut: %3")
                                 .arg(report.folder)
                                 .arg(report.entries)
                                 .arg(report.cut.reason == DocumentWalkCut::Reason::Depth
                                          ? QStringLiteral("depth limit (%1) at %2")
                                                .arg(mOptions.limits.maxDepth)
                                                .arg(report.cut.where)
                                          : QStringLiteral("total cap (%1) at %2")
                                                .arg(mOptions.limits.maxEntries)
                                                .arg(report.cut.where));
        if (!mCutsLogged.contains(line)) {
            mCutsLogged.insert(line);
            KorvaleLog::line(line);
        }
    }
}

QVariantMap DocumentIndex::status() const
{
    QVariantList folders;
    for (const DocumentFolderReport &report : std::as_const(mReports))
        folders << QVariantMap{{ItemRecord::KeyPath, report.folder},
                               {QStringLiteral("entries"), report.entries},
                               {QStringLiteral("cut"), DocumentFolderWalk::cutText(report.cut)}};
    return {{QStringLiteral("indexing"), isIndexing()},
            {QStringLiteral("indexed"), hasIndexed()},
            {QStringLiteral("progress"), progress()},
            {QStringLiteral("entries"), mDocuments.size()},
            {QStringLiteral("watchFallback"), isWatchFallback()},
            {QStringLiteral("walks"), mWalks},
            {QStringLiteral("writes"), mWrites},
            {QStringLiteral("folders"), folders}};
}
