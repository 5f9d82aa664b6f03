#pragma once

#include "ApplicationScanner.h"

#include <QObject>

class DaemonController;

// Runs the controller's scan requests on the shared application scanner and hands the merged
// list back to the controller, so the agent's application list follows what is installed.
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

private:
    // Each scan walks the folders the controller read last, so a changed "AppsFoldersList" is
    // followed; the result is merged into the controller's list as it stands at the end.
    void prepare();

    DaemonController &mController;
    ApplicationScanner mScanner;
};
