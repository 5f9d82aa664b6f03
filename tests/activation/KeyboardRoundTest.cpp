#include "ActivationHarness.h"

#include <QTest>

#include <atomic>
#include <cstdlib>
#include <new>

// Counts the allocations made by this thread while counting is on, to hold the keyboard round to
// its promise of allocating nothing.
namespace {
thread_local bool countAllocations = false;
thread_local int allocations = 0;

void *allocate(std::size_t size)
{
    if (countAllocations)
        ++allocations;
    if (void *memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}
} // namespace

void *operator new(std::size_t size)
{
    return allocate(size);
}
void *operator new[](std::size_t size)
{
    return allocate(size);
}
// Every form that a library may call, so that nothing allocated by the sanitizer's own operators
// comes back here to be freed (a translator's buffer is taken with the no-throw form).
void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    try {
        return allocate(size);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept
{
    return operator new(size, std::nothrow);
}
void operator delete(void *memory, const std::nothrow_t &) noexcept
{
    std::free(memory);
}
void operator delete[](void *memory, const std::nothrow_t &) noexcept
{
    std::free(memory);
}
void operator delete(void *memory) noexcept
{
    std::free(memory);
}
void operator delete[](void *memory) noexcept
{
    std::free(memory);
}
void operator delete(void *memory, std::size_t) noexcept
{
    std::free(memory);
}
void operator delete[](void *memory, std::size_t) noexcept
{
    std::free(memory);
}

class KeyboardRoundTest : public ActivationHarness
{
};

TEST_F(KeyboardRoundTest, ARoundAllocatesNothingWhileTheDetectionWindowIsHidden)
{
    monitor.setSettings(doubleTapSettings());
    double now = Start;
    const auto rounds = [&](int count) {
        for (int i = 0; i < count; ++i) {
            now += 0.03;
            monitor.keyboardRound(now);
        }
    };
    rounds(2); // warm up
    countAllocations = true;
    allocations = 0;
    for (int tapNumber = 0; tapNumber < 2; ++tapNumber) {
        keys.press(VirtualKey::Command);
        rounds(5);
        keys.release(VirtualKey::Command);
        rounds(5);
    }
    keys.setMap(KeyMap::ofKeys({VirtualKey::Shift, 4, VirtualKey::CapsLock}));
    rounds(100);
    keys.releaseAll();
    rounds(100);
    countAllocations = false;
    EXPECT_EQ(allocations, 0);
    monitor.timerTick(now);
    EXPECT_EQ(opened.count(), 1) << "the rounds did recognise the double tap";
}

TEST(KeyboardThreadTest, TheThreadPublishesTheMapAndStops)
{
    FakeKeyMapSource keys;
    FakePointerSource pointer;
    SystemActivationClock clock;
    ActivationMonitor monitor(&keys, &pointer, clock);
    ActivationSettings settings;
    settings.shortCutsActivated = 1;
    monitor.setSettings(settings);
    monitor.start(clock.now());
    ASSERT_TRUE(monitor.isKeyboardThreadRunning());

    keys.setMap(KeyMap::ofKeys({VirtualKey::Option, 12}));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return monitor.currentKeyMap() == KeyMap::ofKeys({VirtualKey::Option, 12});
        },
        2000));
    keys.releaseAll();
    EXPECT_TRUE(QTest::qWaitFor([&] { return monitor.currentKeyMap().isEmpty(); }, 2000));

    monitor.stopKeyboardThread();
    EXPECT_FALSE(monitor.isKeyboardThreadRunning());
}

TEST(KeyboardThreadTest, WithoutSourcesTheMonitorRunsSilently)
{
    SystemActivationClock clock;
    ActivationMonitor monitor(nullptr, nullptr, clock);
    QSignalSpy opened(&monitor, &ActivationMonitor::openAccessWindowRequested);
    monitor.start(clock.now());
    EXPECT_FALSE(monitor.isKeyboardThreadRunning());
    for (int i = 0; i < 50; ++i)
        monitor.timerTick(clock.now() + i);
    EXPECT_TRUE(monitor.currentKeyMap().isEmpty());
    EXPECT_EQ(opened.count(), 0);
}
