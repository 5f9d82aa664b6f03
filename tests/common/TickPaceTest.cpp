#include "TickPace.h"

#include <QTest>

#include <gtest/gtest.h>

#include <vector>

// Driven by the event loop as the agent's timer is: what each tick stands for, before and after
// the pace slows and when it is woken.
TEST(TickPace, SlowsAfterAQuietRunStandsForTheIntervalsItSkipsAndWakesAtOnce)
{
    const TickPace::Timing timing{20, 50, 3}; // 20 ms; quiet: one tick a second
    std::vector<int> ticks;
    bool quiet = false;
    TickPace *pace = nullptr;
    TickPace ticker(timing, [&](int standsFor) {
        ticks.push_back(standsFor);
        pace->afterTick(quiet);
    });
    pace = &ticker;
    qint64 clockMs = 0;
    ticker.setClock([&clockMs] { return clockMs; });
    const auto tickCount = [&](std::size_t count, int ms) {
        return QTest::qWaitFor([&] { return ticks.size() >= count; }, ms);
    };

    ticker.start();
    ASSERT_TRUE(tickCount(5, 2000));
    EXPECT_FALSE(ticker.isSlow()) << "nothing quiet yet";
    EXPECT_EQ(ticks, std::vector<int>(ticks.size(), 1));
    EXPECT_FALSE(ticker.wake()) << "nothing to wake";

    quiet = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticker.isSlow(); }, 2000));
    const std::size_t slowedAt = ticks.size();
    ASSERT_TRUE(tickCount(slowedAt + 1, 3000));
    EXPECT_EQ(ticks.back(), 50) << "a quiet tick stands for a second of ticks";

    // Woken 300 ms into the quiet second: the next tick comes at once, counting the part that
    // went by, and the pace is back to 20 ms.
    clockMs += 300;
    quiet = false;
    const std::size_t beforeWake = ticks.size();
    EXPECT_TRUE(ticker.wake());
    EXPECT_FALSE(ticker.isSlow());
    ASSERT_TRUE(tickCount(beforeWake + 1, 500)) << "not a quiet second later";
    EXPECT_EQ(ticks[beforeWake], 15);
    ASSERT_TRUE(tickCount(beforeWake + 4, 2000));
    EXPECT_EQ(std::vector<int>(ticks.begin() + long(beforeWake) + 1, ticks.end()),
              std::vector<int>(ticks.size() - beforeWake - 1, 1));

    ticker.stop();
    EXPECT_FALSE(ticker.isActive());
    EXPECT_FALSE(ticker.afterTick(true)) << "a stopped pace does not start again";
}
