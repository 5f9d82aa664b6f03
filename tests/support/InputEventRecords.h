#pragma once

#include <QByteArray>

#include <chrono>
#include <initializer_list>

#include <linux/input-event-codes.h>
#include <linux/input.h>
#include <unistd.h>

// Kernel input_event records as a keyboard writes them, stamped on the steady clock (the clock
// the agent sets its devices to), for a pipe or a FIFO to stand in for the device.
class InputEventRecords
{
public:
    using Clock = std::chrono::steady_clock;

    // Stamps start `secondsAgo` before now and move forward with each frame.
    explicit InputEventRecords(double secondsAgo = 30)
        : mStamp(Clock::now()
                 - std::chrono::duration_cast<Clock::duration>(
                     std::chrono::duration<double>(secondsAgo)))
    {
    }

    // One key edge (1 down, 0 up, 2 autorepeat) and its SYN_REPORT, `after` seconds after the
    // previous frame.
    InputEventRecords &key(int code, int value, double after = 0.1)
    {
        advance(after);
        add(EV_KEY, code, value);
        add(EV_SYN, SYN_REPORT, 0);
        return *this;
    }
    InputEventRecords &tap(int code, double gap = 0.1)
    {
        return key(code, 1, gap).key(code, 0, gap);
    }
    // Several edges in one frame, as a keyboard reports keys that changed together.
    InputEventRecords &frame(std::initializer_list<std::pair<int, int>> edges, double after = 0.1)
    {
        advance(after);
        for (const auto &[code, value] : edges)
            add(EV_KEY, code, value);
        add(EV_SYN, SYN_REPORT, 0);
        return *this;
    }
    InputEventRecords &record(int type, int code, int value, double after = 0)
    {
        advance(after);
        add(type, code, value);
        return *this;
    }
    // The clock moves on by `seconds` without an event (longer than a tap's deadline, so that
    // the next sequence starts afresh).
    InputEventRecords &pause(double seconds)
    {
        advance(seconds);
        return *this;
    }

    // Hands the records written so far over to `fd`, and forgets them (the stamps go on).
    bool writeTo(int fd)
    {
        const bool written =
            ::write(fd, mBytes.constData(), std::size_t(mBytes.size())) == ssize_t(mBytes.size());
        mBytes.clear();
        return written;
    }
    const QByteArray &bytes() const { return mBytes; }

private:
    void advance(double seconds)
    {
        mStamp +=
            std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    }
    void add(int type, int code, int value)
    {
        input_event event{};
        const auto since =
            std::chrono::duration_cast<std::chrono::microseconds>(mStamp.time_since_epoch());
        event.input_event_sec = decltype(event.input_event_sec)(since.count() / 1000000);
        event.input_event_usec = decltype(event.input_event_usec)(since.count() % 1000000);
        event.type = std::uint16_t(type);
        event.code = std::uint16_t(code);
        event.value = value;
        mBytes.append(reinterpret_cast<const char *>(&event), sizeof event);
    }

    Clock::time_point mStamp;
    QByteArray mBytes;
};
