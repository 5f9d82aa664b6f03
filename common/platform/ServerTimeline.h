#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>

// Places X server timestamps (milliseconds since the server started, 32 bits, wrapping every
// 49.7 days) on this machine's steady clock, so that the time between two key edges is the
// server's own and not the time this process happened to read them. The offset between the two
// clocks is the smallest seen between a timestamp and the moment its event was read (that
// event was read at once); it may grow by a millisecond a second, so that a server whose clock
// runs slow does not leave its events ever further in the past.
class ServerTimeline
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // Never later than readAt.
    TimePoint place(std::uint32_t serverMilliseconds, TimePoint readAt)
    {
        using std::chrono::milliseconds;
        if (!mStarted) {
            mStarted = true;
            mServerTime = milliseconds(serverMilliseconds);
            mOffset = readAt.time_since_epoch() - mServerTime;
        } else {
            mServerTime += milliseconds(std::int32_t(serverMilliseconds - mLastServerMilliseconds));
            mOffset += (readAt - mLastReadAt) / 1000;
            mOffset = std::min(mOffset, readAt.time_since_epoch() - mServerTime);
        }
        mLastServerMilliseconds = serverMilliseconds;
        mLastReadAt = readAt;
        return TimePoint(mServerTime + mOffset);
    }

private:
    bool mStarted = false;
    std::uint32_t mLastServerMilliseconds = 0;
    TimePoint mLastReadAt;
    TimePoint::duration mServerTime{}; // unwrapped
    TimePoint::duration mOffset{};
};
