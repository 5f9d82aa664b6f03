#pragma once

#include "ActivationStep.h"
#include "DaemonClock.h"
#include "DaemonController.h"
#include "DaemonHooks.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"
#include "platform/NotificationCenter.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>

class FakeDaemonClock : public DaemonClock
{
public:
    explicit FakeDaemonClock(double now = DaemonClock().now())
        : mNow(now)
    {
    }
    double now() const override { return mNow; }
    void set(double now) { mNow = now; }
    void advance(double seconds) { mNow += seconds; }

private:
    double mNow;
};

// Counts each hook the controller reaches.
class RecordingHooks : public DaemonHooks
{
public:
    QMap<QString, int> calls;
    bool quitAnswer = false;
    // The (addressBook, bookmarks) of each reading asked for.
    QList<std::pair<bool, bool>> otherDataReadings;

    int count(const QString &name) const { return calls.value(name); }

    void buildWindowsAndMenus() override { ++calls["buildWindowsAndMenus"]; }
    void buildMenuBarMenu() override { ++calls["buildMenuBarMenu"]; }
    void discardMenuBarMenu() override { ++calls["discardMenuBarMenu"]; }
    void showKeysDetectionWindow() override { ++calls["showKeysDetectionWindow"]; }
    void closeKeysDetectionWindow() override { ++calls["closeKeysDetectionWindow"]; }
    void rerunSearch() override { ++calls["rerunSearch"]; }
    void hideScanningPanel() override { ++calls["hideScanningPanel"]; }
    void bringAgentToFront() override { ++calls["bringAgentToFront"]; }
    void refreshToDoDisplay() override { ++calls["refreshToDoDisplay"]; }
    void refreshReminderDisplay() override { ++calls["refreshReminderDisplay"]; }
    void rescanFolders() override { ++calls["rescanFolders"]; }
    void rescanApplications() override { ++calls["rescanApplications"]; }
    void startApplicationScan() override { ++calls["startApplicationScan"]; }
    void startDocumentScan() override { ++calls["startDocumentScan"]; }
    void rebuildItemsWithShortcuts() override { ++calls["rebuildItemsWithShortcuts"]; }
    void readOtherData(bool addressBook, bool bookmarks) override
    {
        ++calls["readOtherData"];
        otherDataReadings.append({addressBook, bookmarks});
    }
    void readCalendarEvents() override { ++calls["readCalendarEvents"]; }
    void updateListOfAppsUsed() override { ++calls["updateListOfAppsUsed"]; }
    void saveApplicationsUse() override { ++calls["saveApplicationsUse"]; }
    void startStocksSurvey() override { ++calls["startStocksSurvey"]; }
    bool confirmQuit() override
    {
        ++calls["confirmQuit"];
        return quitAnswer;
    }
};

// A controller in a temporary home with a fake clock, hooks that record, a local notification
// centre and an applications folder of its own.
struct DaemonFixture {
    TemporaryHome home;
    QTemporaryDir applicationsFolder;
    FakeDaemonClock clock;
    SharedPreferences preferences{SharedPreferences::defaultPath()};
    std::shared_ptr<RecordingHooks> hooks = std::make_shared<RecordingHooks>();
    std::shared_ptr<NotificationCenter> notifications{NotificationCenter::createLocalCenter()};
    int quitCount = 0;
    std::unique_ptr<DaemonController> controller;

    DaemonFixture()
    {
        DaemonController::Environment environment;
        environment.preferences = &preferences;
        environment.clock = &clock;
        environment.hooks = hooks;
        environment.notifications = notifications;
        environment.applicationsFolder = applicationsFolder.path();
        environment.quitApplication = [this] { ++quitCount; };
        controller = std::make_unique<DaemonController>(std::move(environment));
    }

    QString dataPath(const QString &name) const { return home.dataFolder() + '/' + name; }
};

// Writes preference values the way the manager does, from its own object.
inline void managerWrites(const QVariantMap &values, const QStringList &removed = {})
{
    SharedPreferences manager;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        manager.setValue(it.key(), it.value());
    for (const QString &key : removed)
        manager.removeValue(key);
    manager.synchronize();
}

// Works for folders too.
inline void setModified(const QString &path, const QDateTime &when)
{
    const qint64 ms = when.toMSecsSinceEpoch();
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = time_t(ms / 1000);
    times[1].tv_nsec = long(ms % 1000) * 1000000;
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}
