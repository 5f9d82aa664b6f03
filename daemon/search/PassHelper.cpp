#include "PassHelper.h"

#include <chrono>

namespace {

// Tells the processor this is a wait: the other thread on its core, if any, runs meanwhile.
inline void relax()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#elif defined(__aarch64__)
    asm volatile("yield");
#endif
}

// Looks at `state` until it is no longer `value`, for up to kLookingUs; false if it still is.
bool lookFor(const std::atomic<int> &state, int value)
{
    const auto until =
        std::chrono::steady_clock::now() + std::chrono::microseconds(PassHelper::kLookingUs);
    for (;;) {
        for (int i = 0; i < 64; ++i) {
            if (state.load(std::memory_order_acquire) != value)
                return true;
            relax();
        }
        if (std::chrono::steady_clock::now() >= until)
            return false;
    }
}

// Waits until `state` is no longer `value`: looking first, then asleep.
void waitWhile(const std::atomic<int> &state, int value)
{
    while (!lookFor(state, value))
        state.wait(value, std::memory_order_acquire);
}

} // namespace

PassHelper::~PassHelper()
{
    if (!mThread.joinable())
        return;
    mState.store(Quit, std::memory_order_release);
    mState.notify_one();
    mThread.join();
}

void PassHelper::post(void (*run)(void *), void *task)
{
    mRun = run;
    mTask = task;
    mState.store(Posted, std::memory_order_release);
    if (!mThread.joinable())
        mThread = std::thread([this] { loop(); });
    else
        mState.notify_one();
}

void PassHelper::rest()
{
    int expected = Idle;
    if (mState.compare_exchange_strong(expected, Resting, std::memory_order_acq_rel))
        mState.notify_one();
}

void PassHelper::join()
{
    int expected = Posted;
    // Not taken yet: the caller, done with its own half, runs this one too.
    if (mState.compare_exchange_strong(expected, Idle, std::memory_order_acq_rel)) {
        mRun(mTask);
        return;
    }
    waitWhile(mState, Taken);
    mState.store(Idle, std::memory_order_release);
}

void PassHelper::loop()
{
    for (;;) {
        const int state = mState.load(std::memory_order_acquire);
        if (state == Quit)
            return;
        int expected = Posted;
        if (state == Posted
            && mState.compare_exchange_strong(expected, Taken, std::memory_order_acq_rel)) {
            mRun(mTask);
            mState.store(Done, std::memory_order_release);
            mState.notify_one();
            continue;
        }
        if (state == Resting) {
            mState.wait(Resting, std::memory_order_acquire);
            continue;
        }
        // Idle, or a task done and not yet collected, or taken back by the caller.
        waitWhile(mState, state == Posted ? Idle : state);
    }
}
