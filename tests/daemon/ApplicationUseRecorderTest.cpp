// The agent's record of application use, driven through its controller's timer, hooks and
// notifications with a fake clock and a fake workspace.
#include "DaemonTestSupport.h"

#include "ApplicationUse.h"
#include "ApplicationUseRecorder.h"
#include "ArchiveFile.h"
#include "KorvaleLog.h"
#include "ScopedTimeZone.h"
#include "platform/FakeWorkspace.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace ApplicationUse;

class UseHooks : public DaemonHooks
{
public:
    ApplicationUseRecorder *recorder = nullptr;
    int samples = 0;
    void loadApplicationsUse() override { recorder->loadApplicationsUse(); }
    void updateListOfAppsUsed() override
    {
        ++samples;
        recorder->updateListOfAppsUsed();
    }
    void saveApplicationsUse() override { recorder->saveApplicationsUse(); }
};

// 12:00 UTC on 1 June 2026: far from midnight in the zone the tests set.
constexpr double Noon = 802008000.0;

struct RecorderFixture {
    ScopedTimeZone zone{"UTC"};
    TemporaryHome home;
    FakeDaemonClock clock{Noon};
    SharedPreferences preferences{SharedPreferences::defaultPath()};
    std::shared_ptr<UseHooks> hooks = std::make_shared<UseHooks>();
    std::shared_ptr<NotificationCenter> notifications{NotificationCenter::createLocalCenter()};
    FakeWorkspace workspace;
    std::unique_ptr<DaemonController> controller;
    std::unique_ptr<ApplicationUseRecorder> recorder;
    QStringList log;

    RecorderFixture()
    {
        KorvaleLog::setSink([this](const QString &line) { log << line; });
        workspace.addProcess(10, "/usr/share/applications/firefox.desktop");
        workspace.addProcess(11, "/usr/share/applications/org.gnome.Terminal.desktop");
        workspace.addProcess(12, "/usr/bin/dbus-daemon", false);
        DaemonController::Environment environment;
        environment.preferences = &preferences;
        environment.clock = &clock;
        environment.hooks = hooks;
        environment.notifications = notifications;
        environment.quitApplication = [] {};
        controller = std::make_unique<DaemonController>(std::move(environment));
        recorder = std::make_unique<ApplicationUseRecorder>(*controller, workspace);
        hooks->recorder = recorder.get();
    }
    ~RecorderFixture() { KorvaleLog::setSink({}); }

    void start()
    {
        startReading();
        recorder->waitForLoad();
    }
    // The file is still being read when this returns (its result is taken on the event loop).
    void startReading()
    {
        controller->awakeFromNib();
        controller->applicationDidFinishLaunching();
    }
    // One timer tick after `seconds`, with or without key or mouse activity since the last one.
    void tick(double seconds, bool activity)
    {
        clock.advance(seconds);
        if (activity)
            ++controller->schedule().mKeyMouseChanges;
        controller->timerMethod();
        QCoreApplication::processEvents();
        recorder->waitForSample();
    }
    QString filePath() const { return home.dataFolder() + "/" + DataFileName::ApplicationsUse; }
    Records file() const { return load(ArchiveFile::readList(filePath())); }
    QByteArray fileDigest() const
    {
        QFile f(filePath());
        return f.open(QIODevice::ReadOnly)
            ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
            : QByteArray();
    }
};

// "A 0-120, B 120": starts and ends counted from the origin.
std::string describe(const QVariantList &uses, qint64 origin)
{
    QStringList out;
    for (const QVariant &item : uses) {
        const QVariantMap r = item.toMap();
        QString text = r.value(KeyName).toString() + ' '
            + QString::number(r.value(KeyStart).toLongLong() - origin);
        if (r.contains(KeyEnd))
            text += '-' + QString::number(r.value(KeyEnd).toLongLong() - origin);
        out << text;
    }
    return out.join(", ").toStdString();
}

QStringList sorted(const QSet<QString> &names)
{
    QStringList list(names.cbegin(), names.cend());
    list.sort();
    return list;
}

} // namespace

TEST(ApplicationUseRecorder, SamplesAfterActivityOnceAMinuteAndSavesFirstHourlyOnLaunchAndQuit)
{
    RecorderFixture f;
    f.workspace.bringProcessToFront(10);
    f.start();
    const qint64 t0 = qint64(Noon);

    // Not before a minute; activity during the minute is sampled at its end.
    f.tick(30, true);
    EXPECT_EQ(f.hooks->samples, 0);
    f.tick(31, false);
    ASSERT_EQ(f.hooks->samples, 1);
    // The first sample saves at once.
    f.recorder->waitForSaves();
    EXPECT_EQ(f.recorder->savesWritten(), 1);
    EXPECT_EQ(describe(f.file().uses, t0), "firefox 61");
    EXPECT_EQ(f.controller->schedule().mKeyMouseChanges, 0);

    // Without activity, no sample; activity after the minute is sampled at once.
    f.tick(61, false);
    EXPECT_EQ(f.hooks->samples, 1);
    f.tick(1, true);
    EXPECT_EQ(f.hooks->samples, 2);
    f.tick(30, true);
    EXPECT_EQ(f.hooks->samples, 2);
    f.workspace.bringProcessToFront(11);
    f.tick(31, false);
    EXPECT_EQ(f.hooks->samples, 3);
    f.recorder->waitForSaves();
    EXPECT_EQ(f.recorder->savesWritten(), 1); // not before the hour

    // The manager's start saves.
    f.notifications->post(NotificationChannel::Daemon, "MainAppLaunched");
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.recorder->savesWritten() == 2; }, 5000));
    EXPECT_EQ(describe(f.file().uses, t0), "firefox 61-184, org.gnome.Terminal 184");
    ASSERT_EQ(f.file().days.size(), 1);
    EXPECT_EQ(sorted(namesOfDay(f.file().days.at(0).toMap())),
              (QStringList{"dbus-daemon", "firefox", "org.gnome.Terminal"}));

    // An hour after the first save, the next sample saves again.
    f.tick(3600, true);
    f.recorder->waitForSaves();
    EXPECT_EQ(f.recorder->savesWritten(), 3);
    EXPECT_EQ(f.file().uses.size(), 3);

    // The quit writes what came since, before the agent ends.
    f.tick(61, true);
    EXPECT_EQ(f.hooks->samples, 5);
    f.controller->applicationWillTerminate();
    EXPECT_FALSE(f.recorder->isSaving());
    EXPECT_EQ(f.recorder->savesWritten(), 4);
    EXPECT_EQ(describe(f.file().uses, t0),
              "firefox 61-184, org.gnome.Terminal 184, org.gnome.Terminal 3784-3844");
    EXPECT_EQ(f.file().days.size(), 1);
}

TEST(ApplicationUseRecorder, SamplesTakenWhileASaveRunsJoinTheListsAfterIt)
{
    RecorderFixture f;
    f.workspace.bringProcessToFront(10);
    f.start();
    f.controller->schedule().mNextApplicationsUseSaved = Noon + 1e6;
    f.recorder->updateListOfAppsUsed();
    f.recorder->waitForSample();
    f.recorder->saveApplicationsUse();
    ASSERT_TRUE(f.recorder->isSaving());
    f.clock.advance(60);
    f.recorder->updateListOfAppsUsed();
    f.recorder->waitForSample();
    // Asked again while one runs: it follows.
    f.recorder->saveApplicationsUse();
    f.recorder->waitForSaves();
    EXPECT_EQ(f.recorder->savesWritten(), 2);
    EXPECT_EQ(describe(f.controller->lists().mListOfApplicationsUse, qint64(Noon)), "firefox 0-60");
    EXPECT_EQ(describe(f.file().uses, qint64(Noon)), "firefox 0-60");
}

TEST(ApplicationUseRecorder, NothingIsRecordedWhileTheFrontWindowIsUnknownAndTheLogSaysSoOnce)
{
    RecorderFixture f;
    f.start(); // no window in front
    for (int i = 0; i < 3; ++i)
        f.tick(61, true);
    EXPECT_EQ(f.hooks->samples, 3);
    f.recorder->waitForSaves();
    EXPECT_TRUE(f.controller->lists().mListOfApplicationsUse.isEmpty());
    EXPECT_EQ(f.recorder->savesWritten(), 0);
    EXPECT_FALSE(QFile::exists(f.filePath()));
    EXPECT_EQ(f.log.filter("front window is unknown").size(), 1);
    // Activity is still pending: the sample comes as soon as a window is known.
    EXPECT_NE(f.controller->schedule().mKeyMouseChanges, 0);
    f.workspace.bringProcessToFront(11);
    f.tick(61, false);
    EXPECT_EQ(f.controller->lists().mListOfApplicationsUse.size(), 1);
}

TEST(ApplicationUseRecorder, SwitchedOffItStopsSamplingAndKeepsTheFile)
{
    RecorderFixture f;
    const QVariantList existing =
        fileList({{QVariantMap{{KeyName, "Old"}, {KeyStart, 100}, {KeyEnd, 400}}},
                  {daySummary({"Old"}, 0)}});
    ASSERT_TRUE(ArchiveFile::write(f.filePath(), existing));
    const QByteArray before = f.fileDigest();
    managerWrites({{"RecordApplicationsUse", 0}});
    f.workspace.bringProcessToFront(10);
    f.start();

    f.tick(61, true);
    f.tick(61, true);
    f.notifications->post(NotificationChannel::Daemon, "MainAppLaunched");
    QCoreApplication::processEvents();
    f.recorder->waitForSaves();
    EXPECT_EQ(f.controller->lists().mListOfApplicationsUse.size(), 1); // the file's
    EXPECT_EQ(f.recorder->savesWritten(), 0);
    EXPECT_EQ(f.fileDigest(), before);

    // Switched on again, recording goes on from the file.
    managerWrites({{"RecordApplicationsUse", 1}});
    f.controller->readMainSettings();
    f.tick(61, true);
    f.controller->applicationWillTerminate();
    EXPECT_EQ(f.file().uses.size(), 2);
    EXPECT_EQ(f.file().uses.first().toMap().value(KeyName), "Old");
}

TEST(ApplicationUseRecorder, TheQuitRecordsTheSampleUnderWayAndSavesIt)
{
    RecorderFixture f;
    f.workspace.bringProcessToFront(11);
    f.start();
    f.controller->schedule().mNextApplicationsUseSaved = Noon + 1e6;
    f.recorder->updateListOfAppsUsed();
    // The quit comes before the sample's answer was taken on the main thread.
    f.controller->applicationWillTerminate();
    EXPECT_EQ(describe(f.file().uses, qint64(Noon)), "org.gnome.Terminal 0");
    EXPECT_FALSE(f.recorder->isSaving());
    ASSERT_EQ(f.file().days.size(), 1);
    EXPECT_TRUE(namesOfDay(f.file().days.at(0).toMap()).contains("org.gnome.Terminal"));
}

TEST(ApplicationUseRecorder, TheFileIsReadOffTheMainThreadAndWhatIsRecordedMeanwhileFollowsIt)
{
    RecorderFixture f;
    const QVariantList existing =
        fileList({{QVariantMap{{KeyName, "Old"}, {KeyStart, 100}, {KeyEnd, 400}}},
                  {daySummary({"Old"}, 0)}});
    ASSERT_TRUE(ArchiveFile::write(f.filePath(), existing));
    f.workspace.bringProcessToFront(10);
    f.startReading();
    EXPECT_TRUE(f.recorder->isLoading());
    // A sample and the save it asks for come before the reading is taken: the save waits for
    // it, and the quit too, so the file keeps what it held.
    f.recorder->updateListOfAppsUsed();
    f.recorder->waitForSample();
    EXPECT_TRUE(f.recorder->isLoading());
    EXPECT_EQ(f.recorder->savesWritten(), 0);
    f.controller->applicationWillTerminate();
    EXPECT_FALSE(f.recorder->isLoading());
    EXPECT_EQ(describe(f.file().uses, qint64(Noon)),
              describe(QVariantList{QVariantMap{{KeyName, "Old"}, {KeyStart, 100}, {KeyEnd, 400}},
                                    QVariantMap{{KeyName, "firefox"}, {KeyStart, qint64(Noon)}}},
                       qint64(Noon)));
    ASSERT_EQ(f.file().days.size(), 2);
    EXPECT_TRUE(namesOfDay(f.file().days.last().toMap()).contains("firefox"));
}
