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
// taken meanwhile appended. A save asked while one runs follows it. The quit waits for them.
class ApplicationUseRecorder : public QObject
{
    Q_OBJECT
public:
    ApplicationUseRecorder(DaemonController &controller, Workspace &workspace,
                           QObject *parent = nullptr);
    ~ApplicationUseRecorder() override;

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
    const QSet<QString> &seenSinceLastSave() const { return mSeen; }

signals:
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
    bool mSampling = false;
    double mSampleTime = 0;
    QFuture<Sample> mSampleFuture;
    QFutureWatcher<Sample> mSampleWatcher;
    QFuture<SaveResult> mFuture;
    QFutureWatcher<SaveResult> mWatcher;
};
