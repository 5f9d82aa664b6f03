#pragma once

#include "ListFile.h"

#include <QDateTime>
#include <QFuture>
#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <memory>

struct ApplicationScanCache;

// The application list and the scans that keep it up to date: shared by the agent and the
// manager. The walk runs on a thread of its own and touches only its snapshot of the folder list
// and its private result; the list itself changes only on the owner's thread, in scanCompleted.
class ApplicationScanner : public QObject
{
    Q_OBJECT

public:
    explicit ApplicationScanner(QObject *parent = nullptr);
    // Waits for a running walk; its result is dropped.
    ~ApplicationScanner() override;

    // The folders of "AppsFoldersList"; the next scan takes a snapshot.
    void setApplicationsFolders(const QStringList &folders);
    QStringList applicationsFolders() const { return mApplicationsFolders; }

    // The application list, sorted by title. The owner sets it when it reloads the list file.
    QVariantList applicationsList() const { return mApplicationsList; }
    void setApplicationsList(const QVariantList &list) { mApplicationsList = list; }
    // Where an owner that keeps the list itself has it as it stands when a scan completes:
    // the merge runs against that, so what the user attached while the scan ran stays.
    void setCurrentListSource(std::function<QVariantList()> source)
    {
        mCurrentListSource = std::move(source);
    }

    // "Applications.krvdata" as the owner last read or wrote it; the scanner's saves go through
    // it, so what another program saved meanwhile stays. The scanner has its own unless the
    // owner gives it the one it reads through (kept alive by the owner).
    ListFile &applicationsFile() { return mFile ? *mFile : mOwnFile; }
    void setApplicationsFile(ListFile *file) { mFile = file; }

    bool isScanningForApplications() const { return mScanningForApplications; }

    // Starts a scan unless one runs; false when one was already running.
    bool launchScanApplicationsProcess();
    void rescanApplications() { launchScanApplicationsProcess(); }
    void updateListApps() { launchScanApplicationsProcess(); }
    // The document scan waits behind a running application scan (retried every 2 s).
    void rescanFolders();
    void launchScanDocumentsProcess();

    // Sorts, merges with the list as it stands now and saves it when anything changed. Returns
    // whether it changed.
    bool scanCompleted(const QVariantList &newList);

    // The walk of one scan over the folders, in order (any thread). With a cache, only what
    // changed since the walk that filled it is read again.
    static QVariantList scanFolders(const QStringList &folders,
                                    std::shared_ptr<ApplicationScanCache> cache = {});
    // The merge of scanCompleted: the new list sorted by title, each record that was already
    // known replaced by the stored one (what the user attached to it is kept) with its fresh
    // title.
    static QVariantList mergeScannedList(QVariantList newList, const QVariantList &oldList);
    // Case-insensitive title order; a record without title comes first. <0, 0, >0.
    static int sortTitleFunction(const QVariantMap &a, const QVariantMap &b);

    // Tests and the benchmark: runs the event loop until no scan runs, at most `timeoutMs`.
    bool waitForScan(int timeoutMs);

signals:
    // After a changed list was saved: the agent rebuilds its shortcut list; the manager
    // refreshes its table and tells the agent.
    void applicationsListChanged(const QVariantList &list);
    // After every scan, once the scanning flag is clear.
    void scanFinished(bool changed);
    // The document-scan step ran (it has nothing to list on this system).
    void documentsScanned();

private:
    QStringList mApplicationsFolders;
    QVariantList mApplicationsList;
    std::function<QVariantList()> mCurrentListSource;
    ListFile mOwnFile;
    ListFile *mFile = nullptr;
    bool mScanningForApplications = false;
    QThreadPool mScanPool;
    QFuture<void> mScanFuture;
    // Handed to one scan thread at a time.
    std::shared_ptr<ApplicationScanCache> mScanCache;
};
