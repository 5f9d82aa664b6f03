// The quit stops the agent's threads before the program goes on to tear down what they use.
#include "DaemonTestSupport.h"

#include "KorvaleLog.h"

#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

namespace {

// A thread that works until it is told to stop, as a reader or the favicon update does.
struct Worker {
    std::atomic<bool> stopRequested = false;
    std::atomic<bool> done = false;
    std::future<void> finished;

    Worker()
    {
        finished = std::async(std::launch::async, [this] {
            while (!stopRequested)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            done = true;
        });
    }
    BackgroundWork::Piece piece(const QString &name)
    {
        return {name, [this] { stopRequested = true; },
                [this](int ms) {
                    return finished.wait_for(std::chrono::milliseconds(ms))
                        == std::future_status::ready;
                }};
    }
};

} // namespace

TEST(DaemonQuit, QuitDaemonSavesAndStopsTheThreadsBeforeItQuits)
{
    DaemonFixture f;
    f.controller->awakeFromNib();
    f.controller->applicationDidFinishLaunching();
    Worker reader;
    Worker favicons;
    f.controller->backgroundWork().add(reader.piece("The readers"));
    f.controller->backgroundWork().add(favicons.piece("The favicon update"));

    f.notifications->post(NotificationChannel::Daemon, "QuitDaemon");
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.quitCount == 1; }, 5000));
    EXPECT_TRUE(reader.done);
    EXPECT_TRUE(favicons.done);
    EXPECT_TRUE(f.controller->backgroundWorkStopped());
    EXPECT_EQ(f.hooks->count("saveApplicationsUse"), 1);
}

// A thread that does not stop (a read stuck on a network file system) does not hold the quit: it
// is given up after the bound, said in the log, and the program is told so.
TEST(DaemonQuit, AThreadThatDoesNotStopIsGivenUpAndLogged)
{
    DaemonFixture f;
    f.controller->awakeFromNib();
    f.controller->applicationDidFinishLaunching();
    QStringList lines;
    KorvaleLog::setSink([&lines](const QString &line) { lines << line; });
    Worker reader;
    std::atomic<int> waits = 0;
    f.controller->backgroundWork().add({"The stuck reader", [] {},
                                        [&waits](int ms) {
                                            ++waits;
                                            EXPECT_LE(ms, DaemonController::BackgroundStopMs);
                                            return false;
                                        }});
    f.controller->backgroundWork().add(reader.piece("The readers"));

    f.controller->terminateDelayed();
    KorvaleLog::setSink({});
    EXPECT_EQ(f.quitCount, 1);
    EXPECT_FALSE(f.controller->backgroundWorkStopped());
    EXPECT_EQ(waits, 1);
    EXPECT_TRUE(reader.done) << "the others are stopped all the same";
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines.first().contains("The stuck reader")) << lines.first().toStdString();
}
