#pragma once

#include "ApplicationFolderWatch.h"
#include "ApplicationScanner.h"
#include "DocumentIndex.h"

#include <QObject>

class DaemonController;

// Runs the controller's scan requests on the shared application scanner and hands the merged
// list back to the controller, so the agent's application list follows what is installed. The
// application folders are watched: an entry added to or removed from any of them starts a scan.
// The included folders of "FilesList" are indexed and watched the same way, into the documents.
class AgentScanning : public QObject
{
    Q_OBJECT

public:
    explicit AgentScanning(DaemonController &controller, QObject *parent = nullptr);

    void startApplicationScan();
    void startDocumentScan();
    void rescanApplications();
    void rescanFolders();

    ApplicationScanner &scanner() { return mScanner; }
    ApplicationFolderWatch &folderWatch() { return mWatch; }
    DocumentIndex &documents() { return mDocuments; }

private:
    // Each scan walks the folders the controller read last, so a changed "AppsFoldersList" is
    // followed; the result is merged into the controller's list as it stands at the end.
    void prepare();

    DaemonController &mController;
    ApplicationScanner mScanner;
    ApplicationFolderWatch mWatch;
    DocumentIndex mDocuments;
};
