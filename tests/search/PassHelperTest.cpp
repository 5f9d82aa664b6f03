// The pass's second thread: every hand-over runs both halves exactly once and returns only when
// both are done, whichever finishes first, whether the helper is still looking for work, has gone
// to sleep, was told to rest, or has not taken the half yet; and it ends with its object.
#include "PassHelper.h"

#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(PassHelper, EveryHandOverRunsBothHalvesOnceAndReturnsWhenBothAreDone)
{
    PassHelper helper;
    EXPECT_FALSE(helper.isStarted()); // no thread until the first hand-over
    const std::thread::id caller = std::this_thread::get_id();
    for (int round = 0; round < 3000; ++round) {
        std::atomic<int> here{0};
        std::atomic<int> beside{0};
        std::atomic<bool> besideStarted{false};
        std::thread::id besideThread;
        const auto busy = [](int us) {
            QElapsedTimer timer;
            timer.start();
            while (timer.nsecsElapsed() < us * 1000LL) { }
        };
        // Which half is the slow one changes; in every third round the caller's half waits for
        // the other to start, which then can only run on the helper. Now and then the helper is
        // left long enough to go to sleep before the next hand-over.
        helper.both(
            [&] {
                if (round % 3 == 0)
                    busy(30);
                if (round % 3 == 2) {
                    QElapsedTimer waited;
                    waited.start();
                    while (!besideStarted.load() && waited.elapsed() < 20000) { }
                }
                here.fetch_add(1);
            },
            [&] {
                besideStarted.store(true);
                if (round % 3 == 1)
                    busy(30);
                besideThread = std::this_thread::get_id();
                beside.fetch_add(1);
            });
        ASSERT_EQ(here.load(), 1) << round;
        ASSERT_EQ(beside.load(), 1) << round;
        if (round % 3 == 2) {
            ASSERT_NE(besideThread, caller) << round;
        }
        if (round % 500 == 499)
            QThread::usleep(5 * PassHelper::kLookingUs);
        if (round % 7 == 0)
            helper.rest();
    }
    EXPECT_TRUE(helper.isStarted());
}

TEST(PassHelper, EndsWithItsObjectWhetherLookingAsleepOrResting)
{
    for (const int ending : {0, 1, 2}) {
        PassHelper helper;
        int here = 0;
        int beside = 0;
        helper.both([&] { here = 1; }, [&] { beside = 2; });
        if (ending == 1)
            QThread::usleep(5 * PassHelper::kLookingUs);
        if (ending == 2)
            helper.rest();
        EXPECT_EQ(here + beside, 3);
    } // joins the thread; a helper that did not end would hang the test here
}
