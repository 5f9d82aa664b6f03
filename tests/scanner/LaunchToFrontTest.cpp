#include "ApplicationLauncher.h"
#include "ScannerFixtures.h"
#include "TestEnvironment.h"
#include "platform/Workspace.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <signal.h>

namespace {

// Read back with xprop, independently of the workspace's own Xlib code.
qint64 activeWindowPid()
{
    const ProgramRun active = runProgram("xprop", {"-root", "_NET_ACTIVE_WINDOW"});
    const QByteArray window = active.out.mid(active.out.indexOf('#') + 1).trimmed();
    if (active.exitCode != 0 || window.isEmpty() || window == "0x0")
        return 0;
    const ProgramRun pid = runProgram("xprop", {"-id", QString::fromLatin1(window), "_NET_WM_PID"});
    const qsizetype equals = pid.out.indexOf('=');
    return equals < 0 ? 0 : pid.out.mid(equals + 1).trimmed().toLongLong();
}

} // namespace

TEST(LaunchToFront, LaunchedApplicationIsFoundAndMadeTheActiveWindow)
{
    QString reason;
    const std::unique_ptr<Workspace> workspace = windowManagedWorkspace(&reason);
    if (!workspace)
        GTEST_SKIP() << reason.toStdString();

    const QString program = builtProgram("bin/korvale-test-window");
    QTemporaryDir folder;
    const QString entry = folder.path() + "/org.korvale.TestWindow.desktop";
    ScannerFixtures::writeFile(entry,
                               "[Desktop Entry]\nType=Application\nName=Test Window\n"
                               "StartupNotify=true\nExec="
                                   + program.toUtf8() + " Launched\n");

    ApplicationLauncher launcher(*workspace);
    QSignalSpy finished(&launcher, &ApplicationLauncher::launchWatchFinished);
    ASSERT_TRUE(launcher.launchApplication(entry));
    ASSERT_TRUE(finished.wait(15000));
    EXPECT_EQ(finished.first(), (QVariantList{entry, true}));

    qint64 launchedPid = 0;
    for (const WorkspaceProcess &process : workspace->runningProcesses()) {
        if (process.bundlePath == entry)
            launchedPid = process.pid;
    }
    ASSERT_GT(launchedPid, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return activeWindowPid() == launchedPid; }, 5000));
    const std::optional<WorkspaceProcess> front = workspace->frontApplication();
    ASSERT_TRUE(front.has_value());
    EXPECT_EQ(front->bundlePath, entry);

    // Another window takes the front; the watcher's try brings the launched one back.
    QProcess other;
    other.start(program, {"Other"});
    ASSERT_TRUE(other.waitForStarted(5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return activeWindowPid() == other.processId(); }, 10000));
    EXPECT_TRUE(launcher.isLaunchedProcess(entry));
    EXPECT_TRUE(QTest::qWaitFor([&] { return activeWindowPid() == launchedPid; }, 5000));

    other.kill();
    other.waitForFinished(5000);
    kill(pid_t(launchedPid), SIGTERM);
}
