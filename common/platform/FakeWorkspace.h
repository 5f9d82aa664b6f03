#pragma once

#include "Workspace.h"

#include <QStringList>

#include <mutex>

// A workspace that records what was asked of it; tests place processes and windows in it.
class FakeWorkspace : public Workspace
{
public:
    bool launchApplication(const QString &path) override
    {
        std::lock_guard lock(mMutex);
        mLaunched.append(path);
        return mLaunchSucceeds;
    }
    bool openPath(const QString &path) override
    {
        std::lock_guard lock(mMutex);
        mOpened.append(path);
        return mOpenSucceeds;
    }
    bool openUrl(const QUrl &url) override
    {
        std::lock_guard lock(mMutex);
        mOpened.append(url.toString());
        return true;
    }
    bool revealPath(const QString &path) override
    {
        std::lock_guard lock(mMutex);
        mRevealed.append(path);
        return mRevealSucceeds;
    }
    QList<WorkspaceProcess> runningProcesses() override
    {
        std::lock_guard lock(mMutex);
        ++mProcessQueries;
        return mProcesses;
    }
    bool canBringToFront(QString *reason = nullptr) override
    {
        std::lock_guard lock(mMutex);
        if (!mCanBringToFront && reason)
            *reason = QStringLiteral("fake workspace without windows");
        return mCanBringToFront;
    }
    bool bringProcessToFront(qint64 pid) override
    {
        std::lock_guard lock(mMutex);
        if (!mPidsWithWindow.contains(pid))
            return false;
        mFrontPid = pid;
        return true;
    }
    std::optional<WorkspaceProcess> frontApplication() override
    {
        std::lock_guard lock(mMutex);
        for (const WorkspaceProcess &process : mProcesses) {
            if (process.pid == mFrontPid)
                return process;
        }
        return std::nullopt;
    }

    int hideOtherApplications(const QList<qint64> &keptProcesses) override
    {
        std::lock_guard lock(mMutex);
        mHidingKept.append(keptProcesses);
        return 0;
    }

    // Test side.
    void addProcess(qint64 pid, const QString &bundlePath, bool hasWindow = true)
    {
        std::lock_guard lock(mMutex);
        mProcesses.append({pid, bundlePath});
        if (hasWindow)
            mPidsWithWindow.append(pid);
    }
    void setCanBringToFront(bool can)
    {
        std::lock_guard lock(mMutex);
        mCanBringToFront = can;
    }
    void setLaunchSucceeds(bool succeeds)
    {
        std::lock_guard lock(mMutex);
        mLaunchSucceeds = succeeds;
    }
    void setRevealSucceeds(bool succeeds)
    {
        std::lock_guard lock(mMutex);
        mRevealSucceeds = succeeds;
    }
    void setOpenSucceeds(bool succeeds)
    {
        std::lock_guard lock(mMutex);
        mOpenSucceeds = succeeds;
    }
    // The kept processes of each hideOtherApplications call.
    QList<QList<qint64>> hidings() const
    {
        std::lock_guard lock(mMutex);
        return mHidingKept;
    }
    QStringList launched() const
    {
        std::lock_guard lock(mMutex);
        return mLaunched;
    }
    QStringList opened() const
    {
        std::lock_guard lock(mMutex);
        return mOpened;
    }
    QStringList revealed() const
    {
        std::lock_guard lock(mMutex);
        return mRevealed;
    }
    qint64 frontPid() const
    {
        std::lock_guard lock(mMutex);
        return mFrontPid;
    }
    int processQueries() const
    {
        std::lock_guard lock(mMutex);
        return mProcessQueries;
    }

private:
    mutable std::mutex mMutex;
    QList<WorkspaceProcess> mProcesses;
    QList<qint64> mPidsWithWindow;
    QStringList mLaunched;
    QStringList mOpened;
    QStringList mRevealed;
    qint64 mFrontPid = 0;
    int mProcessQueries = 0;
    bool mCanBringToFront = true;
    bool mLaunchSucceeds = true;
    bool mRevealSucceeds = true;
    bool mOpenSucceeds = true;
    QList<QList<qint64>> mHidingKept;
};
