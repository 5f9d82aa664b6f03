#pragma once

#include "InstallPaths.h"

#include <QString>
#include <QStringList>

#include <atomic>

class InstallerSystem;

// What the worker asks of the window. Each call is made from the worker thread and returns once
// the main thread has done it, so the worker and the window take turns.
class InstallRunDelegate
{
public:
    virtual ~InstallRunDelegate() = default;
    // The counter, "step/total".
    virtual void displayProgress(const QString &counter) = 0;
    // A progress line: the information field and one line of the summary.
    virtual void showProgressInfo(const QString &counter, const QString &text) = 0;
    // The Trash refused `path` and it is still there: show it and ask the user. True when the
    // user says it was removed by hand, false to interrupt the run.
    virtual bool askAboutRefusedItem(const QString &path) = 0;
};

// One run of one step list on the worker thread: the steps, the stop request and the error flags
// that the report lists.
class InstallRun
{
public:
    InstallRun(InstallerSystem &system, InstallRunDelegate &delegate);

    QString mResourceFolder;
    InstallPaths mPaths;
    // Set when the run starts: copy, launch and trash steps only report, and a trash step always
    // asks the user.
    bool mSimulateTrashError = false;
    // The pauses that let the user read each step; tests leave them out.
    bool mPauses = true;

    std::atomic<bool> mMustStop = false;
    bool mErrorMovingToDesktop = false;
    bool mErrorMovingToTrash = false;
    bool mErrorCopying = false;
    bool mErrorQuitProcess = false;
    bool mErrorLaunchApplication = false;

    // Runs the steps in order until one fails, Stop is pressed or the list ends. True when the
    // last step run failed.
    bool run(const QStringList &steps);
    // The steps a run carries out and counts: quit, trash and copy lines.
    static QStringList actingSteps(const QStringList &steps);
    // The run ended on a Stop rather than at the end of the list.
    bool stoppedByUser() const { return mStopped; }
    // The raised error flags as the report's bullet list.
    QString errorList() const;

    bool quitApplication(const QString &path);
    bool moveItemToTrash(const QString &path);
    bool copyItemTo(const QString &source, const QString &destinationFolder);

    static constexpr int QuitWaitMilliseconds = 5000;

private:
    void show(const QString &key, const QString &argument);
    void show(const QString &key, const QStringList &arguments);
    void pause(int milliseconds) const;
    // A path as a progress line shows it: whole, the home folder written "~".
    QString shownPath(const QString &path) const;
    // Recycles an item, or moves it to the desktop when the Trash refuses it.
    void recycle(const QString &path);
    // Where on the desktop an item of this name may go without replacing anything; empty when
    // no name is free.
    QString freeDesktopName(const QString &fileName) const;
    // The desktop fallback; false when the item is still whole where it was.
    bool moveToDesktop(const QString &path, const QString &onDesktop);
    bool installDesktopEntry(const QString &source, const QString &target);

    InstallerSystem &mSystem;
    InstallRunDelegate &mDelegate;
    QString mCounter;
    bool mStopped = false;
};

// The name a progress line shows for a path: its last component without the extension.
QString displayNameOfPath(const QString &path);
