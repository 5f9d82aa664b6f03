#include "ScannerFixtures.h"
#include "TestEnvironment.h"
#include "platform/Workspace.h"

#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Read back with xprop, independently of the workspace's own Xlib code.
QList<QByteArray> clientWindows()
{
    const ProgramRun list = runProgram("xprop", {"-root", "_NET_CLIENT_LIST"});
    const qsizetype hash = list.out.indexOf('#');
    if (list.exitCode != 0 || hash < 0)
        return {};
    QList<QByteArray> windows;
    for (const QByteArray &window : list.out.mid(hash + 1).split(','))
        windows << window.trimmed();
    return windows;
}

QByteArray windowOfProcess(qint64 pid)
{
    for (const QByteArray &window : clientWindows()) {
        const ProgramRun run =
            runProgram("xprop", {"-id", QString::fromLatin1(window), "_NET_WM_PID"});
        const qsizetype equals = run.out.indexOf('=');
        if (equals >= 0 && run.out.mid(equals + 1).trimmed().toLongLong() == pid)
            return window;
    }
    return {};
}

// ICCCM's WM_STATE, which the window manager sets: "Iconic" once minimised.
bool isMinimised(const QByteArray &window)
{
    const ProgramRun run = runProgram("xprop", {"-id", QString::fromLatin1(window), "WM_STATE"});
    return run.out.contains("window state: Iconic");
}

} // namespace

TEST(HideOtherApplications, TheOtherApplicationsWindowsAreMinimisedAndTheKeptOnesStay)
{
    QString reason;
    const std::unique_ptr<Workspace> workspace = windowManagedWorkspace(&reason);
    if (!workspace)
        GTEST_SKIP() << reason.toStdString();

    // Two other applications, and one standing for the agent and the item it opened.
    const QString program = builtProgram("bin/korvale-test-window");
    QProcess first, second, kept;
    QList<QProcess *> processes{&first, &second, &kept};
    for (QProcess *process : processes) {
        process->start(program, {QStringLiteral("Hide")});
        ASSERT_TRUE(process->waitForStarted(5000));
    }
    QList<QByteArray> windows;
    for (QProcess *process : processes) {
        QByteArray window;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return !(window = windowOfProcess(process->processId())).isEmpty(); }, 10000));
        windows << window;
    }
    for (const QByteArray &window : windows)
        ASSERT_FALSE(isMinimised(window));

    EXPECT_GE(workspace->hideOtherApplications({kept.processId()}), 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return isMinimised(windows[0]); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return isMinimised(windows[1]); }, 5000));
    EXPECT_FALSE(isMinimised(windows[2]));

    // Minimised windows are left as they are: nothing is counted twice.
    EXPECT_EQ(workspace->hideOtherApplications({kept.processId()}), 0);
    EXPECT_FALSE(isMinimised(windows[2]));

    for (QProcess *process : processes) {
        process->kill();
        process->waitForFinished(5000);
    }
}
