#include "ApplicationUseRecorder.h"

#include "ArchiveFile.h"
#include "CommonKorvaleClass.h"
#include "DaemonClock.h"
#include "DaemonController.h"
#include "KorvaleLog.h"
#include "platform/Workspace.h"

#include <QtConcurrent/QtConcurrentRun>

#include <cmath>

ApplicationUseRecorder::ApplicationUseRecorder(DaemonController &controller, Workspace &workspace,
                                               QObject *parent)
    : QObject(parent)
    , mController(controller)
    , mWorkspace(workspace)
{
    connect(&mWatcher, &QFutureWatcherBase::finished, this, &ApplicationUseRecorder::takeBackSave);
    // The quit's save (asked through the hooks just before) is written before the agent ends.
    connect(&mController, &DaemonController::terminating, this,
            &ApplicationUseRecorder::finishForQuit);
    connect(&mSampleWatcher, &QFutureWatcherBase::finished, this,
            &ApplicationUseRecorder::takeSample);
    connect(&mLoadWatcher, &QFutureWatcherBase::finished, this, &ApplicationUseRecorder::takeLoad);
}

ApplicationUseRecorder::~ApplicationUseRecorder()
{
    waitForLoad();
    waitForSample();
    waitForSaves();
}

void ApplicationUseRecorder::loadApplicationsUse()
{
    if (mLoading)
        return;
    const QString path = CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
        DataFileName::ApplicationsUse);
    mLoading = true;
    mLoadFuture =
        QtConcurrent::run([path] { return ApplicationUse::load(ArchiveFile::readList(path)); });
    mLoadWatcher.setFuture(mLoadFuture);
}

void ApplicationUseRecorder::takeLoad()
{
    if (!mLoading || !mLoadFuture.isValid() || !mLoadFuture.isFinished())
        return;
    mLoadWatcher.setFuture(QFuture<ApplicationUse::Records>());
    ApplicationUse::Records records = mLoadFuture.takeResult();
    mLoadFuture = QFuture<ApplicationUse::Records>();
    mLoading = false;
    DaemonLists &lists = mController.lists();
    // Samples taken while the file was read are newer than all of it.
    records.uses.append(lists.mListOfApplicationsUse);
    lists.mListOfApplicationsUse = std::move(records.uses);
    lists.mListOfApplicationsOpened = std::move(records.days);
    mCompacted = 0;
    emit loaded();
    if (std::exchange(mSaveAfterLoad, false))
        saveApplicationsUse();
}

void ApplicationUseRecorder::waitForLoad()
{
    if (!mLoading)
        return;
    mLoadFuture.waitForFinished();
    takeLoad();
}

bool ApplicationUseRecorder::recordingOn() const
{
    return mController.settings().mRecordApplicationsUse != 0;
}

void ApplicationUseRecorder::updateListOfAppsUsed()
{
    const DaemonClock &clock = mController.clock();
    mController.schedule().mNextApplicationsUseTest =
        clock.now() + ApplicationUse::samplePeriodSeconds();
    if (!recordingOn() || mSampling)
        return;
    // The window query and the process table (hundreds of processes on a desktop) are read on
    // a worker; what they found comes back to the main thread.
    mSampleTime = clock.now();
    mSampling = true;
    ++mSamplesAsked;
    Workspace *workspace = &mWorkspace;
    mSampleFuture = QtConcurrent::run([workspace] {
        Sample sample;
        if (const std::optional<WorkspaceProcess> front = workspace->frontApplication())
            sample.front = ApplicationUse::nameForBundlePath(front->bundlePath);
        if (sample.front.isEmpty())
            return sample;
        for (const WorkspaceProcess &process : workspace->runningProcesses()) {
            const QString running = ApplicationUse::nameForBundlePath(process.bundlePath);
            if (!running.isEmpty())
                sample.running.insert(running);
        }
        return sample;
    });
    mSampleWatcher.setFuture(mSampleFuture);
}

void ApplicationUseRecorder::takeSample()
{
    if (!mSampling || !mSampleFuture.isValid() || !mSampleFuture.isFinished())
        return;
    mSampleWatcher.setFuture(QFuture<Sample>());
    const Sample sample = mSampleFuture.takeResult();
    mSampleFuture = QFuture<Sample>();
    mSampling = false;
    if (sample.front.isEmpty()) {
        if (!mFrontUnknownLogged) {
            // A wrong name would be worse than none: a native Wayland window in front has no
            // X11 window the agent could see, and the last X11 one is not what the user sees.
            mFrontUnknownLogged = true;
            KorvaleLog::line(QStringLiteral("Application use is not recorded while the front "
                                            "window is unknown (no X11 window in front)"));
        }
        return;
    }
    DaemonSchedule &schedule = mController.schedule();
    const double now = mSampleTime;
    const QVariantMap record{{ApplicationUse::KeyName, sample.front},
                             {ApplicationUse::KeyStart, qint64(std::floor(now))}};
    (mSaving ? mPendingUses : mController.lists().mListOfApplicationsUse).append(record);
    mSeen.insert(sample.front);
    mSeen.unite(sample.running);
    schedule.mKeyMouseChanges = 0;
    mUnsaved = true;
    if (now > schedule.mNextApplicationsUseSaved) {
        saveApplicationsUse();
        schedule.mNextApplicationsUseSaved = now + double(ApplicationUse::SaveIntervalSeconds);
    }
}

void ApplicationUseRecorder::waitForSample()
{
    while (mSampling) {
        mSampleFuture.waitForFinished();
        takeSample();
    }
}

void ApplicationUseRecorder::finishForQuit()
{
    // The file read first, so that the quit's save keeps it; a sample still under way when the
    // quit's save was started is saved after it.
    waitForLoad();
    waitForSample();
    if (mUnsaved)
        saveApplicationsUse();
    waitForSaves();
}

void ApplicationUseRecorder::saveApplicationsUse()
{
    if (!recordingOn() && !mUnsaved)
        return;
    if (mLoading) {
        mSaveAfterLoad = true;
        return;
    }
    if (mSaving) {
        mSaveAgain = true;
        return;
    }
    DaemonLists &lists = mController.lists();
    // Copies share the lists' data: nothing of years of records is copied here.
    ApplicationUse::Records snapshot{lists.mListOfApplicationsUse, lists.mListOfApplicationsOpened};
    mSavingSeen = std::exchange(mSeen, {});
    mUnsaved = false;
    const qint64 today = ApplicationUse::dayStart(qint64(std::floor(mController.clock().now())));
    const QString path = CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
        DataFileName::ApplicationsUse);
    mSaving = true;
    mFuture = QtConcurrent::run([snapshot = std::move(snapshot), seen = mSavingSeen, today, path,
                                 compacted = mCompacted]() mutable {
        ApplicationUse::prepareSave(snapshot, seen, today, compacted);
        SaveResult result;
        result.written = ArchiveFile::write(path, ApplicationUse::fileList(snapshot));
        result.records = std::move(snapshot);
        return result;
    });
    mWatcher.setFuture(mFuture);
}

void ApplicationUseRecorder::takeBackSave()
{
    if (!mSaving || !mFuture.isValid() || !mFuture.isFinished())
        return;
    mWatcher.setFuture(QFuture<SaveResult>());
    // Taken out of the future, so that the lists are not shared and appending copies nothing.
    SaveResult result = mFuture.takeResult();
    mFuture = QFuture<SaveResult>();
    mSaving = false;

    DaemonLists &lists = mController.lists();
    lists.mListOfApplicationsUse = std::move(result.records.uses);
    mCompacted = lists.mListOfApplicationsUse.size();
    lists.mListOfApplicationsUse.append(mPendingUses);
    mPendingUses.clear();
    lists.mListOfApplicationsOpened = std::move(result.records.days);
    if (result.written) {
        ++mSavesWritten;
    } else {
        // Today's summary in memory holds them; the next save writes it.
        mSeen.unite(mSavingSeen);
        mUnsaved = true;
    }
    mSavingSeen.clear();
    emit saved(result.written);
    if (mSaveAgain) {
        mSaveAgain = false;
        saveApplicationsUse();
    }
}

void ApplicationUseRecorder::waitForSaves()
{
    while (mSaving) {
        mFuture.waitForFinished();
        takeBackSave();
    }
}
