#include "AgentScanning.h"

#include "ApplicationsFolders.h"
#include "DaemonController.h"
#include "DaemonHooks.h"

AgentScanning::AgentScanning(DaemonController &controller, QObject *parent)
    : QObject(parent)
    , mController(controller)
{
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
    const QStringList folders = mController.lists().mListOfFoldersForApplications;
    mScanner.setApplicationsFolders(folders.isEmpty() ? ApplicationsFolders::defaultApplicationsFolders()
                                                      : folders);
    if (!mScanner.isScanningForApplications())
        mScanner.setApplicationsList(mController.lists().mListOfApplications);
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
