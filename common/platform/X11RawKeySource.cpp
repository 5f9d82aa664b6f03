#include "X11RawKeySource.h"

#include "ServerTimeline.h"
#include "X11Connection.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

// Xlib last: its macros (None, Bool, KeyPress...) must not reach the Qt headers.
#include <X11/Xlib.h>
#include <X11/extensions/XI2.h>

namespace {

using Clock = std::chrono::steady_clock;

// While keys are held the keyboard thread wakes regularly; a release the server never sent
// (a keyboard unplugged or a switch to another console with a key down) is mended from the
// server's own key state at most this often.
constexpr auto ResyncInterval = std::chrono::seconds(1);

class X11RawKeySource final : public KeyMapSource
{
public:
    X11RawKeySource(X11Connection connection, int xinputOpcode, int wakeFd)
        : mConnection(std::move(connection))
        , mDisplay(mConnection.display())
        , mXInputOpcode(xinputOpcode)
        , mWakeFd(wakeFd)
    {
        // Selected before the first query, so that no edge falls between the two; an edge seen
        // by both is applied twice, which leaves the same state.
        mConnection.selectRawEvents(mXInputOpcode, {XI_RawKeyPress, XI_RawKeyRelease});
        XQueryKeymap(mDisplay, mHeld);
        mLastResync = Clock::now();
    }
    ~X11RawKeySource() override { close(mWakeFd); }
    X11RawKeySource(const X11RawKeySource &) = delete;
    X11RawKeySource &operator=(const X11RawKeySource &) = delete;

    // The server's answer, not the events' state: whoever asks (an item opened with Option
    // held) wants the keyboard as it is now, whether or not the thread has caught up.
    KeyMap sample() override
    {
        char x11Keymap[32] = {};
        bool eventsWaiting = false;
        {
            std::lock_guard lock(mMutex);
            XQueryKeymap(mDisplay, x11Keymap);
            eventsWaiting = XEventsQueued(mDisplay, QueuedAlready) > 0;
        }
        // The reply may have brought events into Xlib's queue, where the waiting thread's poll
        // of the socket cannot see them.
        if (eventsWaiting)
            wake();
        return X11KeyCodes::keyMapFromX11Keymap(x11Keymap);
    }

    bool hearsChanges() const override { return true; }

    void wake() override
    {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(mWakeFd, &one, sizeof one);
    }

    void waitForChanges(double timeout, ChangeReceiver &receiver) override
    {
        const Clock::time_point start = Clock::now();
        if (!mDeliveredOnce) {
            mDeliveredOnce = true;
            {
                std::lock_guard lock(mMutex);
                mDelivered = X11KeyCodes::keyMapFromX11Keymap(mHeld);
            }
            receiver.keyMapChanged(mDelivered, start);
            return;
        }
        const auto deadline = start
            + std::chrono::duration_cast<Clock::duration>(
                                  std::chrono::duration<double>(timeout >= 0 ? timeout : 0));
        for (;;) {
            if (deliverQueued(receiver))
                return;
            int waitMilliseconds = -1;
            if (timeout >= 0) {
                const Clock::duration left = deadline - Clock::now();
                if (left <= Clock::duration::zero()) {
                    resyncIfDue(receiver);
                    return;
                }
                waitMilliseconds =
                    int(std::ceil(std::chrono::duration<double, std::milli>(left).count()));
            }
            pollfd watched[2] = {{ConnectionNumber(mDisplay), POLLIN, 0}, {mWakeFd, POLLIN, 0}};
            if (poll(watched, 2, waitMilliseconds) < 0 && errno != EINTR)
                return;
            if (watched[1].revents & POLLIN) {
                std::uint64_t count = 0;
                [[maybe_unused]] const ssize_t read = ::read(mWakeFd, &count, sizeof count);
                deliverQueued(receiver);
                return;
            }
        }
    }

private:
    // Hands over every change waiting on the connection; true when there was one. The lock is
    // not held while the receiver runs: the main thread may sample meanwhile.
    bool deliverQueued(ChangeReceiver &receiver)
    {
        bool delivered = false;
        KeyMap map;
        Clock::time_point when;
        while (nextChange(map, when)) {
            receiver.keyMapChanged(map, when);
            delivered = true;
        }
        return delivered;
    }

    // Applies queued raw events until one changes the key map.
    bool nextChange(KeyMap &map, Clock::time_point &when)
    {
        std::lock_guard lock(mMutex);
        X11Connection::RawEvent event;
        while (mConnection.nextRawEvent(mXInputOpcode, true, event)) {
            const int keyCode = event.detail;
            const bool down = event.type == XI_RawKeyPress;
            const bool known = down || event.type == XI_RawKeyRelease;
            const auto serverTime = std::uint32_t(event.time);
            if (!known || keyCode < 0 || keyCode >= 256)
                continue;
            char &byte = mHeld[keyCode / 8];
            const auto bit = char(1u << (keyCode % 8));
            byte = char(down ? (byte | bit) : (byte & ~bit));
            const KeyMap now = X11KeyCodes::keyMapFromX11Keymap(mHeld);
            if (now == mDelivered)
                continue;
            mDelivered = now;
            map = now;
            when = mTimeline.place(serverTime, Clock::now());
            return true;
        }
        return false;
    }

    // Only while keys are held and nothing has come for a while; and only when no event came
    // in with the server's answer, as then every edge before it has been applied here.
    void resyncIfDue(ChangeReceiver &receiver)
    {
        const Clock::time_point now = Clock::now();
        KeyMap map;
        {
            std::lock_guard lock(mMutex);
            if (mDelivered.isEmpty() || now - mLastResync < ResyncInterval)
                return;
            mLastResync = now;
            char server[32] = {};
            XQueryKeymap(mDisplay, server);
            if (XEventsQueued(mDisplay, QueuedAlready) > 0
                || std::memcmp(server, mHeld, sizeof server) == 0)
                return;
            std::memcpy(mHeld, server, sizeof server);
            map = X11KeyCodes::keyMapFromX11Keymap(mHeld);
            if (map == mDelivered)
                return;
            mDelivered = map;
        }
        receiver.keyMapChanged(map, now);
    }

    std::mutex mMutex; // the connection, mHeld
    X11Connection mConnection;
    Display *mDisplay;
    int mXInputOpcode;
    int mWakeFd;
    char mHeld[32] = {}; // X keycode bits, as XQueryKeymap gives them
    // Touched by the waiting thread only.
    KeyMap mDelivered;
    bool mDeliveredOnce = false;
    Clock::time_point mLastResync;
    ServerTimeline mTimeline;
};

} // namespace

std::unique_ptr<KeyMapSource> X11RawKeys::create(X11Connection &connection, QString *whyNot)
{
    const int opcode = connection.rawEventsOpcode(whyNot);
    if (opcode == 0)
        return nullptr;
    const int wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        *whyNot =
            QStringLiteral("no event descriptor: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return nullptr;
    }
    return std::make_unique<X11RawKeySource>(std::move(connection), opcode, wakeFd);
}
