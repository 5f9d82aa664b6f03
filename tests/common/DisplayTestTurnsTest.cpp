// Display tests run without the sessions CTest hands out still take turns: each holds a lock in
// the session's runtime folder for its whole run.
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// The kernel lists a process waiting for a lock with "->" before the lock it waits for.
bool waitsForALock(qint64 pid)
{
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return false;
    const QByteArray owner = ' ' + QByteArray::number(pid) + ' ';
    for (const QByteArray &line : locks.readAll().split('\n'))
        if (line.contains("->") && line.contains("FLOCK") && line.contains(owner))
            return true;
    return false;
}

} // namespace

TEST(DisplayTestTurns, ADisplayTestWaitsUntilTheOneRunningEnds)
{
    QTemporaryDir runtime;
    const QByteArray lockPath = QFile::encodeName(runtime.path() + "/korvale-test-display.lock");
    const int running = open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(running, 0);
    ASSERT_EQ(flock(running, LOCK_EX), 0);

    QProcess next;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.remove(QStringLiteral("CTEST_RESOURCE_GROUP_0_DISPLAYS"));
    next.setProcessEnvironment(environment);
    next.start(QStringLiteral(KORVALE_BINARY_DIR "/bin/test_stocks"),
               {QStringLiteral("--gtest_filter=None.None")});
    ASSERT_TRUE(next.waitForStarted());
    QElapsedTimer waited;
    waited.start();
    while (!waitsForALock(next.processId()) && waited.elapsed() < 20000)
        QThread::msleep(20);
    EXPECT_TRUE(waitsForALock(next.processId()));
    EXPECT_EQ(next.state(), QProcess::Running);

    close(running); // the running test ends
    ASSERT_TRUE(next.waitForFinished(30000));
    EXPECT_EQ(next.exitCode(), 0) << next.readAllStandardError().toStdString();
}
