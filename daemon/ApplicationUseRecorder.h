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
// file's one writer.
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

    // One sample (main thread).
    void updateListOfAppsUsed();
    // Starts a save. Without recording, only samples not saved yet are saved.
    void saveApplicationsUse();
    // Blocks until every save asked for is written and its result taken back.
    void waitForSaves();

    bool isSaving() const { return mSaving; }
    int savesWritten() const { return mSavesWritten; }
    const QSet<QString> &seenSinceLastSave() const { return mSeen; }

signals:
    // A save ended; false when the file could not be written (the names seen stay for the next).
    void saved(bool written);

private:
    struct SaveResult {
        ApplicationUse::Records records;
        bool written = false;
    };
    bool recordingOn() const;
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
    QFuture<SaveResult> mFuture;
    QFutureWatcher<SaveResult> mWatcher;
};
