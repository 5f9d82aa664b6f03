#include "ApplicationLauncher.h"

#include "KorvaleLog.h"
#include "platform/Workspace.h"

#include <QThread>

#include <algorithm>

ApplicationLauncher::ApplicationLauncher(Workspace &workspace, QObject *parent)
    : QObject(parent)
    , mWorkspace(workspace)
{
    // Watchers of launches in quick succession run side by side.
    mWatchers.setMaxThreadCount(8);
}

ApplicationLauncher::~ApplicationLauncher()
{
    mStopping = true;
    mWatchers.waitForDone();
}

void ApplicationLauncher::setWatchTries(int tries, int intervalMs)
{
    mTries = tries;
    mIntervalMs = intervalMs;
}

bool ApplicationLauncher::launchApplication(const QString &path)
{
    if (!mWorkspace.launchApplication(path))
        return false;
    mWatchers.start([this, path] { launchApplicationThread(path); });
    return true;
}

bool ApplicationLauncher::isLaunchedProcess(const QString &path)
{
    QList<WorkspaceProcess> processes = mWorkspace.runningProcesses();
    // The newest process first: an older instance may have no window to show.
    std::reverse(processes.begin(), processes.end());
    for (const WorkspaceProcess &process : processes) {
        if (process.bundlePath == path && mWorkspace.bringProcessToFront(process.pid))
            return true;
    }
    return false;
}

void ApplicationLauncher::launchApplicationThread(const QString &path)
{
    bool broughtToFront = false;
    QString reason;
    if (mWorkspace.canBringToFront(&reason)) {
        const int tries = mTries;
        for (int attempt = 0; attempt < tries && !mStopping; ++attempt) {
            // A process found before its window is mapped cannot be activated yet, so the
            // watcher keeps trying until a window of it takes the front.
            if (isLaunchedProcess(path)) {
                broughtToFront = true;
                break;
            }
            for (int waited = 0; waited < mIntervalMs && !mStopping; waited += 20)
                QThread::msleep(std::min(20, mIntervalMs - waited));
        }
    }
    QMetaObject::invokeMethod(
        this, [this, path, broughtToFront] { emit launchWatchFinished(path, broughtToFront); },
        Qt::QueuedConnection);
}
