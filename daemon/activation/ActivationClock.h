#pragma once

#include <atomic>
#include <chrono>

// Seconds since the reference date (2001-01-01 00:00 UTC), the agent's measure of time.
class ActivationClock
{
public:
    virtual ~ActivationClock() = default;
    virtual double now() const = 0;
};

class SystemActivationClock final : public ActivationClock
{
public:
    static constexpr double ReferenceDateInUnixSeconds = 978307200.0;

    double now() const override
    {
        const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
        return std::chrono::duration<double>(sinceEpoch).count() - ReferenceDateInUnixSeconds;
    }
};

// A clock the tests move by hand.
class FakeActivationClock final : public ActivationClock
{
public:
    explicit FakeActivationClock(double start = 800000000.0)
        : mNow(start)
    {
    }
    double now() const override { return mNow.load(); }
    void set(double now) { mNow.store(now); }
    void advance(double seconds) { mNow.store(mNow.load() + seconds); }

private:
    std::atomic<double> mNow;
};
