#include "DaemonTestSupport.h"

#include "AgentOtherData.h"
#include "CommonKorvaleClass.h"

#include <QSemaphore>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>

namespace {

// Hooks wired as the program wires them: the reload's reading goes to the agent's readers.
class ReadingHooks : public RecordingHooks
{
public:
    AgentOtherData *otherData = nullptr;
    void readOtherData(bool addressBook, bool bookmarks) override
    {
        RecordingHooks::readOtherData(addressBook, bookmarks);
        if (otherData)
            otherData->readOtherData(addressBook, bookmarks);
    }
};

// A contact reader that waits until the test lets it go (at most 5 s, so that an agent reading
// on its main thread shows as a failure rather than a hang).
struct BlockingContacts {
    QSemaphore gate;
    std::atomic<int> started = 0;
    std::atomic<int> returned = 0;
    QVariantList contacts{QVariantMap{{"x", 4}, {"T", "Ada"}, {"t", "Ada"}}};

    QVariantList read()
    {
        ++started;
        gate.tryAcquire(1, 5000);
        ++returned;
        return contacts;
    }
};

struct ReadingFixture {
    TemporaryHome home;
    FakeDaemonClock clock;
    SharedPreferences preferences{SharedPreferences::defaultPath()};
    std::shared_ptr<ReadingHooks> hooks = std::make_shared<ReadingHooks>();
    std::unique_ptr<DaemonController> controller;
    BlockingContacts reader;
    std::unique_ptr<AgentOtherData> otherData;

    ReadingFixture()
    {
        DaemonController::Environment environment;
        environment.preferences = &preferences;
        environment.clock = &clock;
        environment.hooks = hooks;
        environment.notifications = NotificationCenter::createLocalCenter();
        environment.quitApplication = [] {};
        controller = std::make_unique<DaemonController>(std::move(environment));
        OtherDataReaders::Environment readers;
        readers.readContacts = [this] { return reader.read(); };
        otherData = std::make_unique<AgentOtherData>(*controller, readers);
        hooks->otherData = otherData.get();
        managerWrites({{"OtherDataAddressBook", 1}});
        controller->awakeFromNib();
    }
    ~ReadingFixture()
    {
        reader.gate.release(100);
        otherData.reset();
    }
};

} // namespace

// The reload hands the contacts to the reader thread and returns: while the reader is held, the
// main thread goes on with its queued work (a gesture, a bus call), and the contacts replace the
// list when they arrive, written to their data file, not to the preferences.
TEST(AgentOtherData, ABlockedReaderLeavesTheMainThreadFree)
{
    ReadingFixture f;
    std::atomic<bool> queuedRan = false;
    bool readerHadReturned = true;
    QTimer::singleShot(0, [&] {
        readerHadReturned = f.reader.returned > 0;
        queuedRan = true;
    });
    f.controller->readData();
    ASSERT_TRUE(QTest::qWaitFor([&] { return queuedRan.load(); }, 10000));
    EXPECT_FALSE(readerHadReturned) << "the queued call waited for the reader";
    EXPECT_TRUE(f.otherData->isReading());
    EXPECT_TRUE(f.controller->lists().mListOfAddressBook.isEmpty());

    // A reload while the reader is held asks for one more reading, after this one.
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.reader.started == 1; }, 10000));
    f.controller->readData();
    f.controller->readData();
    QTest::qWait(20);
    EXPECT_EQ(f.reader.started, 1);

    f.reader.gate.release(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.reader.returned == 2 && !f.otherData->isReading(); },
                                10000));
    EXPECT_EQ(f.controller->lists().mListOfAddressBook, f.reader.contacts);
    EXPECT_EQ(CommonKorvaleClass::readListInFile(DataFileName::AddressBookItems),
              f.reader.contacts);
    SharedPreferences fresh;
    EXPECT_FALSE(fresh.contains("AddressBookItems"));
}

// The quit does not wait for a reader that does not end: the wait is bounded, and what the
// reader finds later is dropped.
TEST(AgentOtherData, TheQuitWaitsForAReaderOnlySoLong)
{
    ReadingFixture f;
    f.controller->readData();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.reader.started == 1; }, 10000));
    EXPECT_FALSE(f.otherData->stopReading(100));
    f.reader.gate.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.reader.returned == 1; }, 10000));
    QTest::qWait(50);
    EXPECT_TRUE(f.controller->lists().mListOfAddressBook.isEmpty());
    f.controller->readData();
    QTest::qWait(50);
    EXPECT_EQ(f.reader.started, 1) << "nothing runs after the stop";
}
