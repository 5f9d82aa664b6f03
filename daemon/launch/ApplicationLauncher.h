#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>

#include <atomic>

class Workspace;

// Launches applications and brings each one to the front once its window is up. Every launch
// gets a watcher thread of its own (they may overlap); results come back on this object's thread.
class ApplicationLauncher : public QObject
{
    Q_OBJECT

public:
    // The workspace must outlive the launcher.
    explicit ApplicationLauncher(Workspace &workspace, QObject *parent = nullptr);
    // Stops the watchers (each notices within one interval) and waits for them.
    ~ApplicationLauncher() override;

    // Asks the workspace to start the application at `path`, then watches for it. False when the
    // launch itself failed (nothing is watched then).
    bool launchApplication(const QString &path);

    // One try of the watcher: whether a process started from `path` was found and one of its
    // windows activated. Any thread.
    bool isLaunchedProcess(const QString &path);

    // 30 tries 0.2 s apart unless a test wants it quicker.
    void setWatchTries(int tries, int intervalMs);

signals:
    // A watcher ended: the application was brought to the front, or the tries ran out.
    void launchWatchFinished(const QString &path, bool broughtToFront);

private:
    void launchApplicationThread(const QString &path);

    Workspace &mWorkspace;
    QThreadPool mWatchers;
    std::atomic<bool> mStopping{false};
    std::atomic<int> mTries{30};
    std::atomic<int> mIntervalMs{200};
};
