#include "EvdevEventDecoder.h"

#include <cstring>

#include <linux/input.h>

static_assert(sizeof(input_event) <= 64, "the partial record buffer holds one record");

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto OldestStamp = std::chrono::minutes(1);

Clock::time_point stampOf(const input_event &event, Clock::time_point readAt)
{
    // Devices opened here are set to the monotonic clock, the steady clock's own. A time past the
    // read (or not a time at all) is not worked out, as it may not fit the clock's nanoseconds.
    const auto readSeconds =
        std::chrono::duration_cast<std::chrono::seconds>(readAt.time_since_epoch()).count();
    if (event.input_event_sec < 0 || event.input_event_sec > readSeconds
        || event.input_event_usec < 0 || event.input_event_usec >= 1000000)
        return readAt;
    const auto sinceBoot = std::chrono::seconds(event.input_event_sec)
        + std::chrono::microseconds(event.input_event_usec);
    const Clock::time_point stamp(std::chrono::duration_cast<Clock::duration>(sinceBoot));
    if (stamp > readAt || readAt - stamp > OldestStamp)
        return readAt;
    return stamp;
}

} // namespace

void EvdevEventDecoder::feed(const std::uint8_t *bytes, std::size_t size, TimePoint readAt,
                             FrameReceiver &receiver)
{
    constexpr std::size_t RecordSize = sizeof(input_event);
    if (mPartialSize > 0) {
        const std::size_t wanted = RecordSize - mPartialSize;
        const std::size_t taken = size < wanted ? size : wanted;
        std::memcpy(mPartial + mPartialSize, bytes, taken);
        mPartialSize += taken;
        bytes += taken;
        size -= taken;
        if (mPartialSize < RecordSize)
            return;
        input_event event;
        std::memcpy(&event, mPartial, RecordSize);
        mPartialSize = 0;
        take(event, readAt, receiver);
    }
    while (size >= RecordSize) {
        input_event event;
        std::memcpy(&event, bytes, RecordSize);
        bytes += RecordSize;
        size -= RecordSize;
        take(event, readAt, receiver);
    }
    std::memcpy(mPartial, bytes, size);
    mPartialSize = size;
}

void EvdevEventDecoder::take(const input_event &event, TimePoint readAt, FrameReceiver &receiver)
{
    if (event.type == EV_SYN && event.code == SYN_DROPPED) {
        mDropping = true;
        mPending = mHeld;
        mFrameChanged = false;
        return;
    }
    if (event.type == EV_SYN && event.code == SYN_REPORT) {
        if (mDropping) {
            mDropping = false;
            receiver.frameEnded({stampOf(event, readAt), true});
            return;
        }
        if (mFrameChanged) {
            mFrameChanged = false;
            const bool changed = mPending != mHeld;
            mHeld = mPending;
            if (changed)
                receiver.frameEnded({stampOf(event, readAt), false});
        }
        return;
    }
    // Value 2 is the keyboard's autorepeat: the key was already down.
    if (mDropping || event.type != EV_KEY || event.value == 2 || event.code >= mPending.size())
        return;
    mPending.set(event.code, event.value != 0);
    mFrameChanged = true;
}

void EvdevEventDecoder::setHeld(const Keys &keys)
{
    mHeld = keys;
    mPending = keys;
    mFrameChanged = false;
}

void EvdevEventDecoder::releaseAll()
{
    setHeld(Keys());
}

KeyMap EvdevEventDecoder::keyMap() const
{
    return keyMapOf(mHeld);
}

KeyMap EvdevEventDecoder::keyMapOf(const Keys &keys)
{
    KeyMap map;
    if (keys.none())
        return map;
    for (std::size_t code = 0; code < keys.size(); ++code) {
        if (keys.test(code)) {
            const int virtualCode = EvdevKeyCodes::virtualKeyCode(int(code));
            if (virtualCode >= 0)
                map.setKeyDown(virtualCode);
        }
    }
    return map;
}
