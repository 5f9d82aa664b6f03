// The real agent records which application is in front: two programs started from their
// desktop entries take the front in turn, with key activity while each is there.
#include "E2eSupport.h"

#include "ApplicationUse.h"
#include "ArchiveFile.h"
#include "CommonKorvaleClass.h"
#include "platform/NotificationCenter.h"
#include "platform/ProcessTable.h"
#include "platform/Workspace.h"

#include <QDir>
#include <QFile>

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
}
