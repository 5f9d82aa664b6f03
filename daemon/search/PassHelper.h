#pragma once

#include <atomic>
#include <thread>
#include <type_traits>

// The second thread of a search pass. A pass hands the other core half of its work several times
// (each list's matching, the ranking entries, the sort, the merges, the result), a few to a few
// hundred microseconds each; through the thread pool every hand-over waited for a sleeping thread
// to wake and then for the caller to wake again. This thread starts at the first hand-over, keeps
// looking for the next one for a short while after each (`kLookingUs`) before it sleeps, and the
// caller looks for its end the same way; a half it has not taken yet the caller runs itself. Once
// the pass hands over nothing more it says so (`rest`), and the thread sleeps at once rather than
// hold a core the window may be painting on. One pass at a time; the thread ends with the object.
class PassHelper
{
public:
    static constexpr int kLookingUs = 200;

    PassHelper() = default;
    ~PassHelper();
    PassHelper(const PassHelper &) = delete;
    PassHelper &operator=(const PassHelper &) = delete;

    // Runs `beside` on the helper's thread while `here` runs on the caller's; returns once both
    // are done.
    template <typename Here, typename Beside> void both(Here &&here, Beside &&beside)
    {
        using Task = std::remove_reference_t<Beside>;
        post([](void *task) { (*static_cast<Task *>(task))(); }, &beside);
        here();
        join();
    }

    // No hand-over follows until the next `both`: the thread sleeps without looking.
    void rest();

    bool isStarted() const { return mThread.joinable(); }

private:
    enum State : int { Idle, Posted, Taken, Done, Resting, Quit };

    void post(void (*run)(void *), void *task);
    void join();
    void loop();

    // Written by the caller before it posts, read by the helper once it has taken the task.
    void (*mRun)(void *) = nullptr;
    void *mTask = nullptr;
    alignas(64) std::atomic<int> mState{Idle};
    std::thread mThread;
};
