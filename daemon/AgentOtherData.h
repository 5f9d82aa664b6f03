#pragma once

#include "OtherDataReaders.h"
#include "ReaderThread.h"

#include <QObject>
#include <QTimer>

#include <functional>

class DaemonController;

// The agent's hooks for the user's other programs: contacts, bookmarks and calendar events read
// on the reader thread and put into the controller's lists on the main thread when they arrive,
// and the favicons of the bookmarks while their setting is on. The main thread never waits for
// a reader: the lists it searches stay as they were until the new ones are in.
class AgentOtherData : public QObject
{
    Q_OBJECT
public:
    // How long after a change Evolution Data Server reports the source is read again.
    static constexpr int EdsChangeDelayMs = 300;

    AgentOtherData(DaemonController &controller, OtherDataReaders::Environment environment,
                   QObject *parent = nullptr);
    ~AgentOtherData() override;

    // The reload's reading of contacts and bookmarks. Asked again while one is under way, it
    // runs once more when that one is in, with the settings of then.
    void readOtherData(bool addressBook, bool bookmarks);
    // The calendar's reading; `adopted` runs on the main thread once the event list was replaced
    // (or kept, when nothing was found). Readings asked while one is under way share its result.
    void readCalendarEvents(std::function<void()> adopted = {});
    void updateFavicons();
    OtherDataReaders &readers() { return mReaders; }
    // For the quit: drops the readings not started, asks the one under way to end and waits for
    // it at most `ms`; true when the reader thread ended.
    bool stopReading(int ms);
    bool isReading() const { return mThread.pending() > 0; }

signals:
    // The favicon list was replaced: bookmark rows are drawn again.
    void faviconsChanged();
    // Contacts or bookmarks read on the reader thread are in the controller's lists.
    void otherDataAdopted();

private:
    void adoptOtherData(const QVariantMap &read);

    DaemonController &mController;
    OtherDataReaders mReaders;
    ReaderThread mThread;
    QTimer mEdsContacts;
    QTimer mEdsEvents;
    bool mOtherDataReading = false;
    bool mOtherDataAgain = false;
    bool mCalendarReading = false;
    std::vector<std::function<void()>> mCalendarWaiting;
};
