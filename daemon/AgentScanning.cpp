#include "AgentScanning.h"

#include "DaemonController.h"
#include "DaemonHooks.h"

AgentScanning::AgentScanning(DaemonController &controller, QObject *parent)
    : QObject(parent)
    , mController(controller)
{
    // A scan takes a while; the manager may save an abbreviation or a shortcut meanwhile.
    mScanner.setCurrentListSource([this] { return mController.currentApplicationsList(); });
    mScanner.setApplicationsFile(&mController.lists().mFiles.mApplications);
    connect(&mScanner, &ApplicationScanner::applicationsListChanged, this,
            [this](const QVariantList &list) {
                mController.lists().mListOfApplications = list;
                mController.hooks().rebuildItemsWithShortcuts();
            });
    connect(&mScanner, &ApplicationScanner::scanFinished, this,
            [this] { mController.flags().mScanningForApplications = false; });
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
