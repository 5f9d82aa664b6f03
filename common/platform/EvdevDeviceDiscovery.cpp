#include "EvdevDeviceDiscovery.h"

#include <QDir>

#include <algorithm>
#include <array>
#include <cerrno>
#include <ctime>

#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

EvdevDeviceDiscovery::Descriptor::~Descriptor()
{
    if (mFd >= 0)
        ::close(mFd);
}

EvdevDeviceDiscovery::Descriptor::Descriptor(Descriptor &&other) noexcept
    : mFd(other.release())
{
}

EvdevDeviceDiscovery::Descriptor &
EvdevDeviceDiscovery::Descriptor::operator=(Descriptor &&other) noexcept
{
    if (this != &other) {
        if (mFd >= 0)
            ::close(mFd);
        mFd = other.release();
    }
    return *this;
}

int EvdevDeviceDiscovery::Descriptor::release()
{
    const int fd = mFd;
    mFd = -1;
    return fd;
}

EvdevDeviceDiscovery::EvdevDeviceDiscovery(QString folder, Opener opener, Probe probe)
    : mFolder(std::move(folder))
    , mOpener(opener ? std::move(opener) : Opener(&EvdevDeviceDiscovery::openDevice))
    , mProbe(probe ? std::move(probe) : Probe(&EvdevDeviceDiscovery::probeDevice))
{
}

bool EvdevDeviceDiscovery::isDeviceName(const QString &fileName)
{
    if (!fileName.startsWith(QLatin1String("event")) || fileName.size() == 5)
        return false;
    return std::all_of(fileName.begin() + 5, fileName.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

EvdevDeviceDiscovery::Scan EvdevDeviceDiscovery::scan() const
{
    QStringList names;
    for (const QString &name : QDir(mFolder).entryList(QDir::System | QDir::Files))
        if (isDeviceName(name))
            names.append(name);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.mid(5).toInt() < b.mid(5).toInt();
    });
    Scan scan;
    for (const QString &name : std::as_const(names)) {
        const QString path = mFolder + QLatin1Char('/') + name;
        Opened opened = open(path);
        switch (opened.outcome) {
        case Outcome::Keyboard:
            scan.keyboards.push_back(std::move(*opened.keyboard));
            break;
        case Outcome::Other:
            ++scan.others;
            break;
        case Outcome::Unreadable:
            scan.unreadable.append(path);
            break;
        case Outcome::Gone:
            break;
        }
    }
    return scan;
}

EvdevDeviceDiscovery::Opened EvdevDeviceDiscovery::open(const QString &path) const
{
    Opened opened;
    const int fd = mOpener(path);
    if (fd < 0) {
        opened.outcome = (fd == -EACCES || fd == -EPERM) ? Outcome::Unreadable : Outcome::Gone;
        return opened;
    }
    Descriptor descriptor(fd);
    std::optional<DeviceInfo> info = mProbe(fd);
    if (!info || !info->keyboard) {
        opened.outcome = Outcome::Other;
        return opened;
    }
    opened.outcome = Outcome::Keyboard;
    opened.keyboard = Keyboard{path, std::move(descriptor), std::move(*info)};
    return opened;
}

std::optional<EvdevEventDecoder::Keys> EvdevDeviceDiscovery::heldKeys(int fd) const
{
    std::optional<DeviceInfo> info = mProbe(fd);
    if (!info)
        return std::nullopt;
    return info->held;
}

int EvdevDeviceDiscovery::openDevice(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -errno;
    // The key edges then carry the steady clock's time, which the gesture rules run on.
    int clock = CLOCK_MONOTONIC;
    ::ioctl(fd, EVIOCSCLOCKID, &clock);
    return fd;
}

std::optional<EvdevDeviceDiscovery::DeviceInfo> EvdevDeviceDiscovery::probeDevice(int fd)
{
    // Asked of the kernel directly: a library for three questions was mapped in every agent,
    // most of which never read a device.
    std::array<unsigned char, KEY_MAX / 8 + 1> capable{};
    if (::ioctl(fd, EVIOCGBIT(EV_KEY, capable.size()), capable.data()) < 0)
        return std::nullopt; // no input device
    char name[256] = {};
    if (::ioctl(fd, EVIOCGNAME(sizeof name - 1), name) < 0)
        name[0] = 0;
    DeviceInfo info;
    info.name = QString::fromUtf8(name);
    const auto has = [&capable](unsigned int code) {
        return (capable[code / 8] >> (code % 8)) & 1u;
    };
    // Letters, or a modifier at least (a small pad with Ctrl and Super is still a keyboard for
    // the double tap); a mouse, a power button or a lid switch has neither.
    bool keyboard = has(KEY_A) && has(KEY_Z);
    for (unsigned int modifier : {KEY_LEFTMETA, KEY_RIGHTMETA, KEY_LEFTCTRL, KEY_RIGHTCTRL,
                                  KEY_LEFTALT, KEY_RIGHTALT, KEY_LEFTSHIFT, KEY_RIGHTSHIFT})
        keyboard = keyboard || has(modifier);
    info.keyboard = keyboard;
    std::array<unsigned char, KEY_MAX / 8 + 1> down{};
    if (keyboard && ::ioctl(fd, EVIOCGKEY(down.size()), down.data()) >= 0) {
        for (int code = 0; code < EvdevKeyCodes::CodeCount; ++code) {
            if (EvdevKeyCodes::virtualKeyCode(code) >= 0 && ((down[code / 8] >> (code % 8)) & 1u))
                info.held.set(std::size_t(code));
        }
    }
    return info;
}
