// The real agent records which application is in front: two programs started from their
// desktop entries take the front in turn, with key activity while each is there.
#include "E2eManager.h"
#include "E2eSupport.h"

#include "ActivityReportWindow.h"
#include "ApplicationUse.h"
#include "ArchiveFile.h"
#include "CommonKorvaleClass.h"
#include "MainController.h"
#include "PreferencesSheet.h"
#include "QOR_DateUtils.h"
#include "QOR_StringUtils.h"
#include "SharedPreferences.h"
#include "platform/NotificationCenter.h"
#include "platform/ProcessTable.h"
#include "platform/Workspace.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace {

QString writeEntry(const QString &name, const QString &title)
{
    const QString folder = qEnvironmentVariable("XDG_DATA_HOME") + "/applications";
    QDir().mkpath(folder);
    const QString path = folder + "/" + name + ".desktop";
    QFile entry(path);
    entry.open(QIODevice::WriteOnly);
    entry.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\n"
                               "Exec=%2 \"%3\"\nTerminal=false\n")
                    .arg(name, builtProgram("bin/korvale-test-window"), title)
                    .toUtf8());
    return path;
}

ApplicationUse::Records recorded()
{
    return ApplicationUse::load(
        ArchiveFile::readList(CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
            DataFileName::ApplicationsUse)));
}

// "name" for a single sample, "name+" for an interval.
QStringList recordedNames()
{
    QStringList names;
    for (const QVariant &use : recorded().uses) {
        const QVariantMap record = use.toMap();
        names << record.value(ApplicationUse::KeyName).toString()
                + (record.value(ApplicationUse::KeyEnd).toLongLong() != 0 ? "+" : "");
    }
    return names;
}

QString useFilePath()
{
    return CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
        DataFileName::ApplicationsUse);
}

QByteArray digestOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
        ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
        : QByteArray();
}

// The manager as the user starts it, in English.
std::unique_ptr<MainController> startManager()
{
    QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
    return startManagerInProcess();
}

QStringList reportNames(const ActivityReportWindow *report)
{
    QStringList names;
    for (const ActivityData::ReportRow &row : report->rows())
        names << row.name;
    return names;
}

int samplesAsked()
{
    return agentStatus().value("applicationUseSamples", -1).toInt();
}

void stopProgramsOf(const QStringList &entries)
{
    for (const ProcessInfo &process : ProcessTable::system().processes()) {
        if (entries.contains(process.bundlePath))
            ::kill(pid_t(process.pid), SIGTERM);
    }
}

} // namespace

TEST(ApplicationUseEndToEnd, TwoProgramsInFrontInTurnGiveOneIntervalEach)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    const QString alpha = writeEntry("korvale-e2e-alpha", "Alpha use window");
    const QString beta = writeEntry("korvale-e2e-beta", "Beta use window");
    AgentProcess agent;
    agent.start({"KORVALE_APPLICATIONS_USE_PERIOD=1"});
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    std::unique_ptr<NotificationCenter> bus = NotificationCenter::createSessionBusCenter();
    const std::unique_ptr<Workspace> workspace = Workspace::createLinux();

    // Each program comes to the front, the user types, and the manager's start asks for a save
    // until the file holds what was in front, for more than one sample.
    const auto useInFront = [&](const QString &entry, const QString &title,
                                const QStringList &expected) {
        EXPECT_TRUE(workspace->launchApplication(entry));
        EXPECT_TRUE(waitFor([&] { return activeWindowName() == title; }, 15000))
            << activeWindowName().toStdString();
        return waitFor(
            [&] {
                xdotool({"keydown", "shift", "sleep", "0.3", "keyup", "shift"});
                bus->post(NotificationChannel::Daemon, "MainAppLaunched");
                QTest::qWait(300);
                return recordedNames() == expected;
            },
            20000);
    };
    EXPECT_TRUE(useInFront(alpha, "Alpha use window", {"korvale-e2e-alpha+"}))
        << recordedNames().join(", ").toStdString() << "\n"
        << agent.log().toStdString();
    EXPECT_TRUE(useInFront(beta, "Beta use window", {"korvale-e2e-alpha+", "korvale-e2e-beta+"}))
        << recordedNames().join(", ").toStdString() << "\n"
        << agent.log().toStdString();

    // The quit saves too: the intervals stay one per program, the first ending where the second
    // starts.
    EXPECT_TRUE(agent.terminateAndWait());
    stopProgramsOf({alpha, beta});
    const ApplicationUse::Records records = recorded();
    ASSERT_EQ(records.uses.size(), 2);
    const QVariantMap first = records.uses.at(0).toMap();
    const QVariantMap second = records.uses.at(1).toMap();
    EXPECT_EQ(first.value("T").toLongLong(), second.value("D").toLongLong());
    ASSERT_FALSE(records.days.isEmpty());
    const QSet<QString> open = ApplicationUse::namesOfDay(records.days.last().toMap());
    EXPECT_TRUE(open.contains("korvale-e2e-alpha"));
    EXPECT_TRUE(open.contains("korvale-e2e-beta"));

    // The manager opened on that file shows both programs in today's report.
    {
        SharedPreferences preferences;
        preferences.setValue("DaemonActivated", 0);
        ASSERT_TRUE(preferences.synchronize());
    }
    auto manager = startManager();
    QSignalSpy filled(manager.get(), &MainController::activityWindowsFilled);
    ASSERT_TRUE(manager->openFile(useFilePath()));
    ASSERT_TRUE(filled.wait(10000));
    const QStringList names = reportNames(manager->activityReportWindow());
    EXPECT_EQ(names.size(), 3) << names.join(", ").toStdString();
    EXPECT_TRUE(names.contains("korvale-e2e-alpha")) << names.join(", ").toStdString();
    EXPECT_TRUE(names.contains("korvale-e2e-beta")) << names.join(", ").toStdString();
}

TEST(ApplicationUseEndToEnd, SwitchedOffInTheManagerTheAgentStopsSamplingAndKeepsTheFile)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    const QString alpha = writeEntry("korvale-e2e-alpha", "Alpha use window");
    AgentProcess agent;
    agent.start({"KORVALE_APPLICATIONS_USE_PERIOD=1"});
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    const std::unique_ptr<Workspace> workspace = Workspace::createLinux();
    ASSERT_TRUE(workspace->launchApplication(alpha));
    ASSERT_TRUE(waitFor([&] { return activeWindowName() == "Alpha use window"; }, 15000));
    auto manager = startManager();
    const auto typeUntil = [](const std::function<bool()> &done, int ms) {
        return waitFor(
            [&] {
                xdotool({"keydown", "shift", "sleep", "0.2", "keyup", "shift"});
                QTest::qWait(200);
                return done();
            },
            ms);
    };
    // On by default: the user types, the agent samples and saves.
    EXPECT_TRUE(typeUntil([] { return samplesAsked() >= 2; }, 20000)) << agent.log().toStdString();
    ASSERT_TRUE(waitFor([] { return QFile::exists(useFilePath()); }, 10000));

    // The box in the preferences, as the user unticks it.
    PreferencesSheet *sheet = manager->preferencesSheet();
    QTimer::singleShot(0, sheet, [sheet] {
        QCheckBox *box = sheet->box("RecordApplicationsUse");
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->isChecked());
        box->setChecked(false);
        sheet->accept();
    });
    manager->editPrefs();
    ASSERT_TRUE(waitFor([] { return agentStatus().value("RecordApplicationsUse") == 0; }, 10000))
        << agent.log().toStdString();
    // What was sampled before is still saved once (a sample asked just before the setting was
    // read among it); from then on the file stays as it is.
    std::unique_ptr<NotificationCenter> bus = NotificationCenter::createSessionBusCenter();
    QTest::qWait(300);
    bus->post(NotificationChannel::Daemon, "MainAppLaunched");
    QTest::qWait(500);
    const int samples = samplesAsked();
    const QByteArray before = digestOf(useFilePath());
    // Three sample periods of typing, and the manager's start asking for a save.
    typeUntil([] { return false; }, 3000);
    bus->post(NotificationChannel::Daemon, "MainAppLaunched");
    QTest::qWait(500);
    EXPECT_EQ(samplesAsked(), samples);
    EXPECT_EQ(digestOf(useFilePath()), before);

    // Ticked again, sampling goes on.
    QTimer::singleShot(0, sheet, [sheet] {
        sheet->box("RecordApplicationsUse")->setChecked(true);
        sheet->accept();
    });
    manager->editPrefs();
    EXPECT_TRUE(typeUntil([&] { return samplesAsked() > samples; }, 15000))
        << agent.log().toStdString();
    EXPECT_TRUE(agent.terminateAndWait());
    stopProgramsOf({alpha});
}

TEST(ApplicationUseEndToEnd, ASecondManagerHandsItsUseFileToTheRunningOne)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    {
        // The licence of this version taken and the agent off: only the manager runs.
        SharedPreferences preferences;
        preferences.setValue("Version", QStringLiteral(KORVALE_VERSION));
        preferences.setValue("DaemonActivated", 0);
        ASSERT_TRUE(preferences.synchronize());
    }
    const QString folder = home.path() + "/Downloads";
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + "/" + DataFileName::ApplicationsUse;
    // Today from 10:00: the report opens on today.
    const qint64 ten =
        qint64(QOR_DateUtils::referenceSeconds(QOR_DateUtils::todayAt0h00())) + 10 * 3600;
    ASSERT_TRUE(ArchiveFile::write(
        path,
        QVariantList{QVariantMap{{"N", "org.example.Writer"}, {"D", ten}, {"T", ten + 1800}},
                     QVariantMap{{"N", "xterm"}, {"D", ten + 1800}, {"T", ten + 2400}}}));

    const QString program = builtProgram("bin/korvale-manager");
    QProcess first;
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    first.start(program, {});
    const QString service = QStringLiteral("org.korvale.Manager");
    ASSERT_TRUE(waitFor([&] { return !instanceStatus(service).isEmpty(); }, 20000));
    EXPECT_EQ(instanceStatus(service).value("activityFile").toString(), QString());

    // The second start is given the file by a name relative to its own folder, and steps aside.
    QProcess second;
    second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    second.setWorkingDirectory(folder);
    second.start(program, {DataFileName::ApplicationsUse});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    QVariantMap status;
    EXPECT_TRUE(waitFor(
        [&] {
            status = instanceStatus(service);
            return status.value("activityFile").toString() == path
                && status.contains("activityLoading") && !status.value("activityLoading").toBool();
        },
        10000))
        << status.value("activityFile").toString().toStdString();
    const QStringList names = status.value("activityReportNames").toStringList();
    EXPECT_EQ(names, (QStringList{QString(), "org.example.Writer", "xterm"}))
        << names.join(", ").toStdString();
    first.terminate();
    if (!first.waitForFinished(5000)) {
        first.kill();
        first.waitForFinished(2000);
    }
}
