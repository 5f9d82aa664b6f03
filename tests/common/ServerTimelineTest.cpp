#include "platform/ServerTimeline.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {
double milliseconds(ServerTimeline::TimePoint::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}
} // namespace

TEST(ServerTimeline, KeepsTheServersSpacingWhateverTheReadingDelay)
{
    ServerTimeline timeline;
    const ServerTimeline::TimePoint start = ServerTimeline::TimePoint(1000s);
    // Calibrated by events read at once.
    const auto first = timeline.place(50000, start + 1ms);
    EXPECT_EQ(first, start + 1ms);
    EXPECT_NEAR(milliseconds(timeline.place(50100, start + 101ms) - first), 100, 0.2);

    // A press and its release 3 ms later, read together 1.2 s late by a starved thread.
    const auto press = timeline.place(51000, start + 2200ms);
    const auto release = timeline.place(51003, start + 2200ms);
    EXPECT_NEAR(milliseconds(press - first), 1000, 3);
    EXPECT_EQ(release - press, 3ms);

    // Read sooner after its time than any before: the earlier reads were the late ones.
    const auto quick = timeline.place(53000, start + 3000ms + 500us);
    EXPECT_EQ(quick, start + 3000ms + 500us);
    EXPECT_NEAR(milliseconds(timeline.place(53010, start + 3011ms) - quick), 10, 0.1);

    // The server's clock wraps every 49.7 days.
    ServerTimeline wrapping;
    const auto before = wrapping.place(0xFFFFFFF0u, start);
    EXPECT_EQ(wrapping.place(0x10u, start + 32ms) - before, 32ms);
}

TEST(ServerTimeline, AServerClockRunningSlowIsFollowedAndNothingLiesAhead)
{
    ServerTimeline timeline;
    const ServerTimeline::TimePoint start = ServerTimeline::TimePoint(5000s);
    // The server counts 999 ms in each of this machine's seconds, for ten minutes.
    ServerTimeline::TimePoint placed;
    ServerTimeline::TimePoint readAt;
    for (int second = 0; second <= 600; ++second) {
        readAt = start + std::chrono::seconds(second);
        placed = timeline.place(std::uint32_t(10000 + 999 * second), readAt);
        ASSERT_LE(placed, readAt);
    }
    // Left at the first offset, the last event would seem 0.6 s old.
    EXPECT_LT(readAt - placed, 2ms);
}
