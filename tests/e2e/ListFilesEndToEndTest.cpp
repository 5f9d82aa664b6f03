// The real agent with something that is not a list file in each list's place: a FIFO, a link to
// /dev/zero, a folder, a file far larger than any list. A FIFO held its bus for good after a
// "NotesChanged", and /dev/zero grew it past 3 GB.
#include "E2eSupport.h"

#include "ArchiveFile.h"
#include "CommonKorvaleClass.h"
#include "FifoSupport.h"
#include "SharedPreferences.h"
#include "platform/NotificationCenter.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

qint64 peakResidentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

} // namespace

TEST(ListFilesEndToEnd, TheAgentAnswersAndStaysSmallWhateverStandsInItsListsPlaces)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    SharedPreferences preferences;
    preferences.setValue("AppsFoldersList", QVariantList());
    ASSERT_TRUE(preferences.synchronize());
    auto data = [](const QString &name) {
        return CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(name);
    };
    const QStringList fifos{data(DataFileName::Notes), data(DataFileName::Documents)};
    for (const QString &fifo : fifos)
        ASSERT_TRUE(makeFifo(fifo));
    ASSERT_TRUE(linkToDevZero(data(DataFileName::ToDo)));
    ASSERT_TRUE(linkToDevZero(data(DataFileName::Clipboard)));
    ASSERT_TRUE(QDir().mkpath(data(DataFileName::Reminder) + "/inside"));
    QFile huge(data(DataFileName::Applications));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(ArchiveFile::sizeLimitFor(huge.fileName()) + 1)); // sparse
    huge.close();

    AgentProcess agent;
    agent.start();
    const bool ready = agent.waitUntilReady();
    if (!ready)
        openWritingEnds(fifos);
    ASSERT_TRUE(ready) << qPrintable(agent.log());
    const QString fifoRead = data(DataFileName::Notes) + ": NotRegularFile";
    ASSERT_TRUE(waitFor([&] { return agent.log().count(fifoRead) >= 1; }))
        << qPrintable(agent.log());
    // Changed since the agent read it, as another program's save would leave it.
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(fifos.first()).constData(), nullptr, 0), 0);
    const std::unique_ptr<NotificationCenter> bus = NotificationCenter::createSessionBusCenter();
    bus->post(NotificationChannel::Daemon, QStringLiteral("NotesChanged"));
    bus->post(NotificationChannel::Daemon, QStringLiteral("SettingChanged"));
    // It reread the notes (each reading of the FIFO says so in the log), and still answers.
    EXPECT_TRUE(waitFor([&] { return agent.log().count(fifoRead) >= 2; }))
        << qPrintable(agent.log());
    EXPECT_FALSE(agentStatus().isEmpty()) << qPrintable(agent.log());
    EXPECT_LT(peakResidentKiB(agent.pid()), 400 * 1024);
    const bool ended = agent.terminateAndWait();
    if (!ended)
        openWritingEnds(fifos);
    EXPECT_TRUE(ended);
    EXPECT_EQ(agent.howItEnded(), "exit 0");
    EXPECT_TRUE(QFileInfo(data(DataFileName::Reminder)).isDir());
}
