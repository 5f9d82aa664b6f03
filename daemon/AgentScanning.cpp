#include "AgentScanning.h"

#include "DaemonController.h"
#include "DaemonHooks.h"
#include "DocumentFolderWalk.h"

namespace {

DocumentIndex::Options documentIndexOptions()
{
    DocumentIndex::Options options;
    options.file =
        CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::Documents);
    return options;
}

} // namespace

AgentScanning::AgentScanning(DaemonController &controller, QObject *parent)
    : QObject(parent)
    , mController(controller)
    , mDocuments(documentIndexOptions())
{
    // A scan takes a while; the manager may save an abbreviation or a shortcut meanwhile.
    mScanner.setCurrentListSource([this] { return mController.currentApplicationsList(); });
    mScanner.setApplicationsFile(&mController.lists().mFiles.mApplications);
    connect(&mScanner, &ApplicationScanner::applicationsListChanged, this,
            [this](const QVariantList &list) {
                mController.lists().mListOfApplications = list;
                mController.hooks().rebuildItemsWithShortcuts();
            });
    connect(&mScanner, &ApplicationScanner::scanFinished, this, [this] {
        mController.flags().mScanningForApplications = false;
        // Subfolders the scan found are watched from now on.
        mWatch.setFolders(mController.lists().mListOfFoldersForApplications);
    });
    connect(&controller, &DaemonController::settingsRead, this, [this] {
        mWatch.setFolders(mController.lists().mListOfFoldersForApplications);
        // A folder ticked, unticked or removed is indexed again at once, whatever posted it.
        mDocuments.setFolders(
            DocumentFolderWalk::includedFolders(mController.lists().mListOfFiles));
    });
    connect(&mScanner, &ApplicationScanner::documentsScanned, &mDocuments, &DocumentIndex::rescan);
    connect(&mDocuments, &DocumentIndex::indexed, this, [this] {
        // From now on the index holds the list: the file is not read back.
        mController.lists().mFilesInFoldersIndexed = true;
        mController.lists().mListOfFilesInFolders = mDocuments.documents();
    });
    controller.backgroundWork().add({QStringLiteral("The document index"),
                                     [this] { mDocuments.requestStop(); },
                                     [this](int ms) { return mDocuments.waitUntilStopped(ms); }});
    connect(&mWatch, &ApplicationFolderWatch::changed, this, [this] {
        // A change during a running scan may not be in its result: scan again after it.
        if (mScanner.isScanningForApplications())
            mWatch.retryLater();
        else
            startApplicationScan();
    });
}

void AgentScanning::prepare()
{
    mScanner.setApplicationsFolders(mController.lists().mListOfFoldersForApplications);
}

void AgentScanning::startApplicationScan()
{
    prepare();
    if (mScanner.launchScanApplicationsProcess())
        mController.flags().mScanningForApplications = true;
}

void AgentScanning::startDocumentScan()
{
    prepare();
    mScanner.launchScanDocumentsProcess();
}

void AgentScanning::rescanApplications()
{
    startApplicationScan();
}

void AgentScanning::rescanFolders()
{
    prepare();
    mScanner.rescanFolders();
}
