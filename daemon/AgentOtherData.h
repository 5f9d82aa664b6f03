#pragma once

#include "OtherDataReaders.h"

#include <QObject>

class DaemonController;

// The agent's hooks for the user's other programs: contacts, bookmarks and calendar events into
// the controller's lists, and the favicons of the bookmarks while their setting is on.
class AgentOtherData : public QObject
{
    Q_OBJECT
public:
    AgentOtherData(DaemonController &controller, OtherDataReaders::Environment environment,
                   QObject *parent = nullptr);

    QVariantList readAddressBook();
    QVariantList readBookmarks();
    void readCalendarEvents();
    void updateFavicons();
    OtherDataReaders &readers() { return mReaders; }

signals:
    // The favicon list was replaced: bookmark rows are drawn again.
    void faviconsChanged();

private:
    DaemonController &mController;
    OtherDataReaders mReaders;
};
