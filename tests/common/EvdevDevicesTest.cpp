#include "InputEventRecords.h"
#include "platform/EvdevDeviceDiscovery.h"
#include "platform/EvdevEventDecoder.h"
#include "platform/EvdevKeySource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <limits>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// A plain folder standing in for /dev/input: each file says what device it plays ("keyboard",
// optionally with the codes held, or "mouse"), and a file without read permission is one the
// user may not open (the tests may run as root, whom the mode does not stop).
class FakeInputFolder
{
public:
    FakeInputFolder() { EXPECT_TRUE(mFolder.isValid()); }

    QString path() const { return mFolder.path(); }
    QString device(const QString &name, const QByteArray &plays, bool readable = true) const
    {
        const QString path = mFolder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(plays);
        file.close();
        if (!readable)
            file.setPermissions(QFileDevice::WriteOwner);
        return path;
    }
    QString fifo(const QString &name) const
    {
        const QString path = mFolder.filePath(name);
        EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        return path;
    }

    static int open(const QString &path)
    {
        if (!(QFile::permissions(path) & QFileDevice::ReadOwner))
            return -EACCES;
        return EvdevDeviceDiscovery::openDevice(path);
    }
    // What the file says it is; a FIFO (a keyboard fed by the test) holds nothing yet.
    static std::optional<EvdevDeviceDiscovery::DeviceInfo> probe(int fd)
    {
        EvdevDeviceDiscovery::DeviceInfo info;
        struct stat status {
        };
        if (::fstat(fd, &status) == 0 && S_ISFIFO(status.st_mode)) {
            info.keyboard = true;
            return info;
        }
        char text[64] = {};
        const ssize_t size = ::pread(fd, text, sizeof text - 1, 0);
        if (size <= 0)
            return std::nullopt;
        const QList<QByteArray> words = QByteArray(text, int(size)).split(' ');
        info.keyboard = words.first() == "keyboard";
        for (qsizetype i = 1; i < words.size(); ++i)
            info.held.set(std::size_t(words.at(i).toInt()));
        return info;
    }

    EvdevDeviceDiscovery discovery() const { return EvdevDeviceDiscovery(path(), open, probe); }

private:
    QTemporaryDir mFolder;
};

QStringList pathsOf(const std::vector<EvdevDeviceDiscovery::Keyboard> &keyboards)
{
    QStringList paths;
    for (const auto &keyboard : keyboards)
        paths.append(QFileInfo(keyboard.path).fileName());
    return paths;
}

class CollectedChanges final : public KeyMapSource::ChangeReceiver
{
public:
    void keyMapChanged(const KeyMap &map, KeyMapSource::TimePoint when) override
    {
        maps.push_back(map);
        times.push_back(when);
    }
    std::vector<KeyMap> maps;
    std::vector<KeyMapSource::TimePoint> times;
};

} // namespace

// Only the keyboards are kept, in the kernel's order; a mouse is left alone and a device the
// user may not open is named, and with no keyboard readable that is a lack of access.
TEST(EvdevDevicesTest, DiscoverySkipsMiceAndDevicesTheUserCannotOpen)
{
    FakeInputFolder input;
    input.device("event0", "keyboard");
    input.device("event1", "mouse");
    const QString locked = input.device("event2", "keyboard", false);
    input.device("event10", "keyboard 125 30");
    input.device("mouse0", "keyboard"); // no event device: the old mouse interface
    QDir(input.path()).mkdir("by-id");

    EvdevDeviceDiscovery::Scan scan = input.discovery().scan();
    EXPECT_EQ(pathsOf(scan.keyboards), (QStringList{"event0", "event10"}));
    EXPECT_EQ(scan.unreadable, QStringList{locked});
    EXPECT_EQ(scan.others, 1);
    EXPECT_FALSE(scan.lacksAccess());
    ASSERT_EQ(scan.keyboards.size(), 2u);
    EXPECT_EQ(EvdevEventDecoder::keyMapOf(scan.keyboards[1].info.held),
              KeyMap::ofKeys({VirtualKey::Command, 0}))
        << "Super and A held at the start count";
    EXPECT_GE(scan.keyboards[0].fd.get(), 0);

    // The same folder where no keyboard may be read: no source, and the reason.
    for (const char *name : {"event0", "event10"})
        QFile::setPermissions(input.path() + "/" + name, QFileDevice::WriteOwner);
    scan = input.discovery().scan();
    EXPECT_TRUE(scan.lacksAccess());
    EXPECT_EQ(scan.unreadable.size(), 3);
    const KeyMapSource::Creation creation = EvdevKeySource::create(input.discovery());
    EXPECT_FALSE(creation.source);
    EXPECT_TRUE(creation.reason.contains("input")) << creation.reason.toStdString();

    // The kernel's questions take no plain file for a keyboard, whatever it holds.
    FakeInputFolder plain;
    plain.device("event0", "keyboard");
    plain.device("event1", "mouse");
    scan = EvdevDeviceDiscovery(plain.path()).scan();
    EXPECT_TRUE(scan.keyboards.empty());
    EXPECT_EQ(scan.others, 2);
}

// Keyboards behind FIFOs in the watched folder: each edge is heard with its kernel time,
// records split between writes are put together, autorepeat and frames that change nothing are
// not heard, a keyboard plugged in later is read and one unplugged releases its keys.
TEST(EvdevDevicesTest, TheKeyMapFollowsEveryKeyboardPluggedInOrOut)
{
    FakeInputFolder input;
    input.fifo("event0");
    KeyMapSource::Creation creation = EvdevKeySource::create(input.discovery());
    ASSERT_TRUE(creation.source) << creation.reason.toStdString();
    auto &source = static_cast<EvdevKeySource &>(*creation.source);
    EXPECT_EQ(source.deviceCount(), 1);
    const int first = ::open(QFile::encodeName(input.path() + "/event0").constData(), O_WRONLY);
    ASSERT_GE(first, 0);

    CollectedChanges changes;
    source.waitForChanges(0, changes);
    ASSERT_EQ(changes.maps.size(), 1u);
    EXPECT_TRUE(changes.maps[0].isEmpty()) << "the map as it is, first";

    InputEventRecords records;
    records.key(KEY_LEFTMETA, 1).key(KEY_LEFTMETA, 2, 0.5).key(KEY_LEFTMETA, 2, 0.03);
    const InputEventRecords::Clock::time_point sent = InputEventRecords::Clock::now();
    QByteArray bytes = records.bytes();
    // A record cut in two by the writer, completed by the next write.
    const int cut = int(2 * sizeof(input_event) + 6);
    ASSERT_EQ(::write(first, bytes.constData(), cut), cut);
    changes = {};
    source.waitForChanges(1.0, changes);
    ASSERT_EQ(changes.maps.size(), 1u);
    EXPECT_EQ(changes.maps[0], KeyMap::ofKeys({VirtualKey::Command}));
    EXPECT_LT(changes.times[0], sent - std::chrono::seconds(29)) << "the kernel's time";
    ASSERT_EQ(::write(first, bytes.constData() + cut, std::size_t(bytes.size() - cut)),
              bytes.size() - cut);
    records = InputEventRecords(20);
    records.frame({{KEY_A, 1}, {KEY_A, 0}}).key(KEY_RIGHTMETA, 1);
    ASSERT_TRUE(records.writeTo(first));
    changes = {};
    source.waitForChanges(1.0, changes);
    ASSERT_EQ(changes.maps.size(), 1u) << "neither the repeats nor A down and up in one frame";
    EXPECT_EQ(changes.maps[0], KeyMap::ofKeys({VirtualKey::Command, VirtualKey::RightCommand}));

    // A keyboard plugged in: the folder's change is seen before any wait ends.
    input.fifo("event1");
    changes = {};
    source.waitForChanges(0.05, changes);
    EXPECT_EQ(source.deviceCount(), 2);
    EXPECT_TRUE(changes.maps.empty()) << "a keyboard holding nothing changes nothing";
    const int second = ::open(QFile::encodeName(input.path() + "/event1").constData(), O_WRONLY);
    ASSERT_GE(second, 0);
    records.key(KEY_Z, 1);
    ASSERT_TRUE(records.writeTo(second));
    source.waitForChanges(1.0, changes);
    ASSERT_EQ(changes.maps.size(), 1u);
    EXPECT_EQ(changes.maps[0],
              KeyMap::ofKeys({VirtualKey::Command, VirtualKey::RightCommand, 6 /* Z */}));

    // Events lost by the kernel: what came after is dropped up to the frame's end, and the
    // keys are read afresh (nothing, for a FIFO that cannot be asked).
    records.record(EV_SYN, SYN_DROPPED, 0, 0.1)
        .record(EV_KEY, KEY_B, 1)
        .record(EV_SYN, SYN_REPORT, 0);
    ASSERT_TRUE(records.writeTo(second));
    changes = {};
    source.waitForChanges(1.0, changes);
    ASSERT_EQ(changes.maps.size(), 1u);
    EXPECT_EQ(changes.maps[0], KeyMap::ofKeys({VirtualKey::Command, VirtualKey::RightCommand}));

    // Unplugged: the end of the stream, or the node removed, releases the device's keys.
    ::close(first);
    changes = {};
    source.waitForChanges(1.0, changes);
    ASSERT_EQ(changes.maps.size(), 1u);
    EXPECT_TRUE(changes.maps[0].isEmpty());
    EXPECT_EQ(source.deviceCount(), 1);
    records.key(KEY_X, 1);
    ASSERT_TRUE(records.writeTo(second));
    changes = {};
    source.waitForChanges(1.0, changes);
    ASSERT_EQ(changes.maps.size(), 1u);
    EXPECT_EQ(changes.maps[0], KeyMap::ofKeys({7 /* X */}));
    ASSERT_TRUE(QFile::remove(input.path() + "/event1"));
    changes = {};
    source.waitForChanges(1.0, changes);
    ASSERT_EQ(changes.maps.size(), 1u);
    EXPECT_TRUE(changes.maps[0].isEmpty());
    EXPECT_EQ(source.deviceCount(), 0);
    ::close(second);
}

// A record's time is the kernel's word, but a stream may carry anything: a stamp that is no time
// on the steady clock (negative, past the read, out of range) counts as the moment of the read.
TEST(EvdevDevicesTest, AStampThatIsNoTimeCountsAsTheRead)
{
    struct Frames final : EvdevEventDecoder::FrameReceiver {
        std::vector<EvdevEventDecoder::Frame> seen;
        void frameEnded(const EvdevEventDecoder::Frame &frame) override { seen.push_back(frame); }
    } frames;
    EvdevEventDecoder decoder;
    const auto readAt = std::chrono::steady_clock::now();
    const auto frameAt = [&](long long seconds, long long micros, int value) {
        input_event records[2] = {};
        records[0].input_event_sec = decltype(records[0].input_event_sec)(seconds);
        records[0].input_event_usec = decltype(records[0].input_event_usec)(micros);
        records[0].type = EV_KEY;
        records[0].code = KEY_LEFTMETA;
        records[0].value = value;
        records[1].type = EV_SYN;
        records[1].code = SYN_REPORT;
        decoder.feed(reinterpret_cast<const std::uint8_t *>(records), sizeof records, readAt,
                     frames);
    };
    frameAt(std::numeric_limits<long>::max() / 1000, 0, 1);
    frameAt(-5, 0, 0);
    frameAt(0, -1, 1);
    frameAt(1, 5000000, 0);
    ASSERT_EQ(frames.seen.size(), 4u);
    for (const EvdevEventDecoder::Frame &frame : frames.seen)
        EXPECT_EQ(frame.when, readAt);
}
