#include "platform/SessionPrograms.h"
#include "platform/ProcessTable.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <unistd.h>

TEST(SessionPrograms, TheProgramRunsWhileItsNameIsOwnedOnTheBusAndTheOwnerIsNamed)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no D-Bus session bus: run under scripts/with-session.sh";
    // A name of this test's own, so that programs the session runs meanwhile do not matter.
    const SessionProgram program{QStringLiteral("org.korvale.Test.Program%1").arg(::getpid()),
                                 QFileInfo(QCoreApplication::applicationFilePath()).fileName()};
    const DBusSessionPrograms programs;
    EXPECT_FALSE(programs.isRunning(program)) << "a process with its file name is not enough";

    const QString connection = QStringLiteral("owner");
    {
        QDBusConnection owner =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, connection);
        ASSERT_TRUE(owner.registerService(program.service));
        const std::optional<RunningProgram> running = programs.running(program);
        ASSERT_TRUE(running);
        EXPECT_EQ(running->pid, ::getpid());
        EXPECT_EQ(running->executable, QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
        owner.unregisterService(program.service);
    }
    QDBusConnection::disconnectFromBus(connection);
    EXPECT_FALSE(programs.isRunning(program));
}

TEST(SessionPrograms, WithoutABusTheUsersProcessesAnswerByFileName)
{
    const QString connection = QStringLiteral("nowhere");
    const QDBusConnection nowhere = QDBusConnection::connectToBus(
        QStringLiteral("unix:path=/nonexistent/korvale-bus"), connection);
    ASSERT_FALSE(nowhere.isConnected());
    const FakeProcessTable processes(
        {{10, "bash", "/usr/bin/bash", "/usr/bin/bash"},
         {11, "korvale-manager", "/opt/k/bin/korvale-manager", "/opt/k/bin/korvale-manager"}});
    const DBusSessionPrograms programs(nowhere, &processes);
    EXPECT_EQ(programs.running(SessionProgram::manager()),
              (RunningProgram{11, "/opt/k/bin/korvale-manager"}));
    EXPECT_FALSE(programs.isRunning(SessionProgram::daemon()));
    QDBusConnection::disconnectFromBus(connection);
}
