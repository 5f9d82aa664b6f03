#include "EvdevKeySource.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <linux/input.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Device {
    QString path; // empty for a descriptor handed over
    QString name;
    EvdevDeviceDiscovery::Descriptor fd;
    EvdevEventDecoder decoder;
    bool gone = false;
};

struct Change {
    KeyMap map;
    Clock::time_point when;
};

// The keys a device holds as the kernel has them now; nothing for a descriptor that is no device.
bool readKernelKeys(int fd, EvdevEventDecoder::Keys &keys)
{
    unsigned char bits[EvdevKeyCodes::CodeCount / 8] = {};
    if (::ioctl(fd, EVIOCGKEY(sizeof bits), bits) < 0)
        return false;
    keys.reset();
    for (std::size_t byte = 0; byte < sizeof bits; ++byte) {
        if (bits[byte] == 0)
            continue;
        for (std::size_t bit = 0; bit < 8; ++bit) {
            if (bits[byte] & (1u << bit))
                keys.set(byte * 8 + bit);
        }
    }
    return true;
}

} // namespace

class EvdevKeySource::Private final : public EvdevEventDecoder::FrameReceiver
{
public:
    explicit Private(EvdevDeviceDiscovery discovery)
        : discovery(std::move(discovery))
    {
        wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        watchFd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (watchFd >= 0
            && inotify_add_watch(watchFd, QFile::encodeName(this->discovery.folder()).constData(),
                                 IN_CREATE | IN_ATTRIB | IN_DELETE | IN_MOVED_TO | IN_MOVED_FROM)
                < 0) {
            ::close(watchFd);
            watchFd = -1;
        }
        changes.reserve(256);
        watched.reserve(16);
    }
    ~Private()
    {
        if (wakeFd >= 0)
            ::close(wakeFd);
        if (watchFd >= 0)
            ::close(watchFd);
    }
    Private(const Private &) = delete;
    Private &operator=(const Private &) = delete;

    void addKeyboard(EvdevDeviceDiscovery::Keyboard keyboard)
    {
        auto device = std::make_unique<Device>();
        device->path = keyboard.path;
        device->name = keyboard.info.name;
        device->fd = std::move(keyboard.fd);
        device->decoder.setHeld(keyboard.info.held);
        devices.push_back(std::move(device));
    }

    KeyMap combined() const
    {
        KeyMap map;
        for (const auto &device : devices) {
            const KeyMap keys = device->decoder.keyMap();
            for (int i = 0; i < KeyMap::ByteCount; ++i)
                map.bytes()[std::size_t(i)] |= keys.bytes()[std::size_t(i)];
        }
        return map;
    }

    // Under the lock: queues the key map when it differs from the last one queued.
    void noteChange(Clock::time_point when)
    {
        const KeyMap now = combined();
        if (now == lastQueued)
            return;
        lastQueued = now;
        changes.push_back({now, when});
    }

    void frameEnded(const EvdevEventDecoder::Frame &frame) override
    {
        if (frame.resyncNeeded) {
            // Lost events: the device's own state, or nothing held when it cannot be asked (a
            // key left down for ever would block every gesture).
            std::optional<EvdevEventDecoder::Keys> keys =
                discovery.heldKeys(readingDevice->fd.get());
            if (keys)
                readingDevice->decoder.setHeld(*keys);
            else
                readingDevice->decoder.releaseAll();
        }
        noteChange(frame.when);
    }

    void readDevice(Device &device)
    {
        readingDevice = &device;
        for (;;) {
            const ssize_t count = ::read(device.fd.get(), buffer, sizeof buffer);
            if (count > 0) {
                device.decoder.feed(buffer, std::size_t(count), Clock::now(), *this);
                continue;
            }
            if (count < 0 && errno == EINTR)
                continue;
            // Unplugged (ENODEV), or the end of a stream: its keys are released.
            if (count == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
                device.gone = true;
            break;
        }
        readingDevice = nullptr;
    }

    void dropGoneDevices()
    {
        const auto before = devices.size();
        std::erase_if(devices, [](const auto &device) { return device->gone; });
        if (devices.size() != before)
            noteChange(Clock::now());
    }

    bool isOpen(const QString &path) const
    {
        return std::any_of(devices.begin(), devices.end(),
                           [&path](const auto &device) { return device->path == path; });
    }

    // Keyboards plugged in (or made readable: udev sets the rights just after creating the node)
    // are opened, removed ones dropped.
    void followFolder()
    {
        alignas(inotify_event) char events[4096];
        for (;;) {
            const ssize_t count = ::read(watchFd, events, sizeof events);
            if (count <= 0)
                return;
            for (ssize_t offset = 0; offset < count;) {
                const auto *event = reinterpret_cast<const inotify_event *>(events + offset);
                offset += ssize_t(sizeof(inotify_event) + event->len);
                if (event->len == 0)
                    continue;
                const QString name = QFile::decodeName(event->name);
                if (!EvdevDeviceDiscovery::isDeviceName(name))
                    continue;
                const QString path = discovery.folder() + QLatin1Char('/') + name;
                if (event->mask & (IN_DELETE | IN_MOVED_FROM)) {
                    for (auto &device : devices)
                        if (device->path == path)
                            device->gone = true;
                } else if (!isOpen(path)) {
                    EvdevDeviceDiscovery::Opened opened = discovery.open(path);
                    if (opened.keyboard) {
                        addKeyboard(std::move(*opened.keyboard));
                        noteChange(Clock::now());
                    }
                }
            }
        }
    }

    EvdevDeviceDiscovery discovery;
    mutable std::mutex mutex; // the devices and their decoders
    std::vector<std::unique_ptr<Device>> devices;
    int wakeFd = -1;
    int watchFd = -1;

    // The waiting thread's own.
    std::vector<pollfd> watched;
    std::vector<Change> changes;
    KeyMap lastQueued;
    bool deliveredOnce = false;
    Device *readingDevice = nullptr;
    std::uint8_t buffer[sizeof(input_event) * 64] = {};
};

EvdevKeySource::EvdevKeySource(EvdevDeviceDiscovery discovery,
                               std::vector<EvdevDeviceDiscovery::Keyboard> keyboards)
    : d(std::make_unique<Private>(std::move(discovery)))
{
    for (EvdevDeviceDiscovery::Keyboard &keyboard : keyboards)
        d->addKeyboard(std::move(keyboard));
}

EvdevKeySource::~EvdevKeySource() = default;

KeyMapSource::Creation EvdevKeySource::create(const EvdevDeviceDiscovery &discovery)
{
    Creation creation;
    if (!QDir(discovery.folder()).exists()) {
        creation.reason = QStringLiteral("there is no folder %1").arg(discovery.folder());
        return creation;
    }
    EvdevDeviceDiscovery::Scan scan = discovery.scan();
    if (scan.lacksAccess()) {
        creation.reason = QStringLiteral("this user may not read the input devices of %1 (%2 "
                                         "refused); membership of the group \"input\" gives access")
                              .arg(discovery.folder())
                              .arg(scan.unreadable.size());
        return creation;
    }
    if (scan.keyboards.empty())
        creation.note = QStringLiteral("No keyboard in %1 yet: keyboards plugged in are read.")
                            .arg(discovery.folder());
    creation.source = std::make_unique<EvdevKeySource>(discovery, std::move(scan.keyboards));
    return creation;
}

void EvdevKeySource::addDevice(int fd, const QString &name)
{
    // The thread must never block on one device while others wait.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    {
        std::lock_guard lock(d->mutex);
        EvdevDeviceDiscovery::Keyboard keyboard{
            QString(), EvdevDeviceDiscovery::Descriptor(fd), {true, name, {}}};
        d->addKeyboard(std::move(keyboard));
    }
    wake();
}

int EvdevKeySource::deviceCount() const
{
    std::lock_guard lock(d->mutex);
    return int(d->devices.size());
}

// The kernel's answer where the device gives one, so that whoever asks (the manager's key sheet,
// an item opened with Alt held) gets the keyboard as it is, whether or not a thread reads it.
KeyMap EvdevKeySource::sample()
{
    std::lock_guard lock(d->mutex);
    KeyMap map;
    EvdevEventDecoder::Keys keys;
    for (const auto &device : d->devices) {
        const KeyMap held = readKernelKeys(device->fd.get(), keys)
            ? EvdevEventDecoder::keyMapOf(keys)
            : device->decoder.keyMap();
        for (int i = 0; i < KeyMap::ByteCount; ++i)
            map.bytes()[std::size_t(i)] |= held.bytes()[std::size_t(i)];
    }
    return map;
}

void EvdevKeySource::wake()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(d->wakeFd, &one, sizeof one);
}

void EvdevKeySource::waitForChanges(double timeout, ChangeReceiver &receiver)
{
    const Clock::time_point start = Clock::now();
    if (!d->deliveredOnce) {
        d->deliveredOnce = true;
        KeyMap map;
        {
            std::lock_guard lock(d->mutex);
            map = d->combined();
            d->lastQueued = map;
        }
        receiver.keyMapChanged(map, start);
        return;
    }
    const auto deadline = start
        + std::chrono::duration_cast<Clock::duration>(
                              std::chrono::duration<double>(timeout >= 0 ? timeout : 0));
    for (;;) {
        {
            std::lock_guard lock(d->mutex);
            d->watched.clear();
            d->watched.push_back({d->wakeFd, POLLIN, 0});
            d->watched.push_back({d->watchFd, POLLIN, 0}); // ignored by poll when -1
            for (const auto &device : d->devices)
                d->watched.push_back({device->fd.get(), POLLIN, 0});
        }
        int waitMilliseconds = -1;
        if (timeout >= 0) {
            const Clock::duration left = deadline - Clock::now();
            if (left <= Clock::duration::zero())
                return;
            waitMilliseconds =
                int(std::ceil(std::chrono::duration<double, std::milli>(left).count()));
        }
        if (::poll(d->watched.data(), nfds_t(d->watched.size()), waitMilliseconds) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        const bool woken = d->watched[0].revents & POLLIN;
        if (woken) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t read = ::read(d->wakeFd, &count, sizeof count);
        }
        {
            std::lock_guard lock(d->mutex);
            if (d->watched[1].revents & POLLIN)
                d->followFolder();
            for (std::size_t i = 2; i < d->watched.size(); ++i) {
                const pollfd &entry = d->watched[i];
                if (entry.revents == 0)
                    continue;
                for (const auto &device : d->devices) {
                    if (device->fd.get() == entry.fd && !device->gone)
                        d->readDevice(*device);
                }
            }
            d->dropGoneDevices();
        }
        // Outside the lock: the receiver's round may take a while, and others may sample.
        const bool delivered = !d->changes.empty();
        for (const Change &change : d->changes)
            receiver.keyMapChanged(change.map, change.when);
        d->changes.clear();
        if (delivered || woken)
            return;
    }
}
