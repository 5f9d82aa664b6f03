#pragma once

#include "EvdevKeyCodes.h"
#include "KeyMap.h"

#include <bitset>
#include <chrono>
#include <cstddef>
#include <cstdint>

struct input_event;

// The keys one input device holds, followed from the kernel's `input_event` records as read from
// its descriptor (or from any byte stream that carries them: a pipe in the tests). Records may
// arrive split across reads; key edges count at the end of their frame (SYN_REPORT), autorepeat
// (value 2) changes nothing, and after SYN_DROPPED the records up to the next frame's end are
// dropped and the holder is told to read the device's state afresh. Allocates nothing.
class EvdevEventDecoder
{
public:
    using Keys = std::bitset<EvdevKeyCodes::CodeCount>;
    using TimePoint = std::chrono::steady_clock::time_point;

    // A frame that changed the keys held, at the time the kernel stamped on it.
    struct Frame {
        TimePoint when;
        bool resyncNeeded = false; // events were lost: the keys held must be read afresh
    };

    class FrameReceiver
    {
    public:
        virtual void frameEnded(const Frame &frame) = 0;

    protected:
        ~FrameReceiver() = default;
    };

    // Takes `size` bytes of the stream; calls `receiver` at the end of each frame that changed
    // the keys held (or lost events). `readAt` is when the bytes were read: a stamp later than
    // that, or over a minute older, is taken as that moment instead (a device left on the wall
    // clock, or a stream recorded elsewhere).
    void feed(const std::uint8_t *bytes, std::size_t size, TimePoint readAt,
              FrameReceiver &receiver);

    const Keys &held() const { return mHeld; }
    // The keys as read from the device itself (at the start, after lost events).
    void setHeld(const Keys &keys);
    void releaseAll();

    // The held keys as virtual key codes; keys without one are left out.
    KeyMap keyMap() const;
    static KeyMap keyMapOf(const Keys &keys);

private:
    void take(const input_event &event, TimePoint readAt, FrameReceiver &receiver);

    Keys mHeld;
    Keys mPending; // the keys as the current frame leaves them
    bool mDropping = false;
    bool mFrameChanged = false;
    // A record cut by the end of a read, completed by the next one.
    std::uint8_t mPartial[64] = {};
    std::size_t mPartialSize = 0;
};
