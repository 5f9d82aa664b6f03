#pragma once

#include "ApplicationUse.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QSet>

class DaemonController;
class Workspace;

// The agent's record of application use ("ApplicationsUse.krvdata"): a sample of the front
// application and the open ones when the timer asks for it, and the saves. The agent is the
// file's one writer. Neither the platform's answers nor a save are waited for on the main
// thread, except at the quit.
//
// A save compacts and writes on a worker thread from a snapshot of the lists, so that years of
// records never hold the main thread; the compacted lists come back to it, with the samples
// taken meanwhile appended. A save asked while one runs follows it. The file is read at start on
// a worker too (about 100 ms for five years). The quit waits for them.
class ApplicationUseRecorder : public QObject
{
    Q_OBJECT
public:
    ApplicationUseRecorder(DaemonController &controller, Workspace &workspace,
                           QObject *parent = nullptr);
    ~ApplicationUseRecorder() override;

    // Starts reading the file on a worker; the lists take it when it is back, with the samples
    // taken meanwhile after it. Saves asked meanwhile wait for it, so none writes a file without
    // what was recorded before.
    void loadApplicationsUse();
    // Blocks until the reading, if any, is in the lists.
    void waitForLoad();
    bool isLoading() const { return mLoading; }
    // Starts one sample: the platform is asked on a worker, and the record is added on the main
    // thread when the answer is back. A sample asked while one is under way is not taken.
    void updateListOfAppsUsed();
    // Blocks until the sample under way, if any, is recorded.
    void waitForSample();
    // Starts a save. Without recording, only samples not saved yet are saved.
    void saveApplicationsUse();
    // Blocks until every save asked for is written and its result taken back.
    void waitForSaves();
    // The quit: the sample under way is recorded and everything is written.
    void finishForQuit();

    bool isSaving() const { return mSaving; }
    int savesWritten() const { return mSavesWritten; }
    // Samples asked of the desktop since the start (none while recording is off).
    int samplesAsked() const { return mSamplesAsked; }
    const QSet<QString> &seenSinceLastSave() const { return mSeen; }

signals:
    // The file's records are in the lists.
    void loaded();
    // A save ended; false when the file could not be written (the names seen stay for the next).
    void saved(bool written);

private:
    struct Sample {
        QString front; // empty when the front window is unknown
        QSet<QString> running;
    };
    struct SaveResult {
        ApplicationUse::Records records;
        bool written = false;
    };
    bool recordingOn() const;
    void takeSample();
    void takeBackSave();
    void takeLoad();

    DaemonController &mController;
    Workspace &mWorkspace;
    QSet<QString> mSeen;
    // Samples taken while a save runs; they join the lists when it is back.
    QVariantList mPendingUses;
    QSet<QString> mSavingSeen;
    // The use records at the start of the list that the last save compacted.
    qsizetype mCompacted = 0;
    bool mUnsaved = false;
    bool mSaving = false;
    bool mSaveAgain = false;
    bool mFrontUnknownLogged = false;
    int mSavesWritten = 0;
    int mSamplesAsked = 0;
    bool mSampling = false;
    double mSampleTime = 0;
    QFuture<Sample> mSampleFuture;
    QFutureWatcher<Sample> mSampleWatcher;
    bool mLoading = false;
    bool mSaveAfterLoad = false;
    QFuture<ApplicationUse::Records> mLoadFuture;
    QFutureWatcher<ApplicationUse::Records> mLoadWatcher;
    QFuture<SaveResult> mFuture;
    QFutureWatcher<SaveResult> mWatcher;
};
