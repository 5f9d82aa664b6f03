#pragma once

#include "EvdevEventDecoder.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// The keyboards among the input devices of a folder (/dev/input), opened for reading without
// blocking. Mice, touchpads, power buttons and the like are left out, and so is every device the
// user may not open, which is what the manager reports as "no access". The folder, the opening
// and the look at each device can be replaced, so that a plain folder stands in for /dev/input.
class EvdevDeviceDiscovery
{
public:
    // An open descriptor, closed with the object.
    class Descriptor
    {
    public:
        explicit Descriptor(int fd = -1)
            : mFd(fd)
        {
        }
        ~Descriptor();
        Descriptor(Descriptor &&other) noexcept;
        Descriptor &operator=(Descriptor &&other) noexcept;
        Descriptor(const Descriptor &) = delete;
        Descriptor &operator=(const Descriptor &) = delete;
        int get() const { return mFd; }
        int release();

    private:
        int mFd;
    };

    // What the look at an open device found.
    struct DeviceInfo {
        bool keyboard = false;
        QString name;
        EvdevEventDecoder::Keys held; // the keys down as the device reports them now
    };
    // Opens a path: the descriptor or minus errno.
    using Opener = std::function<int(const QString &path)>;
    // Looks at an open device; nothing when it is no input device (or cannot be asked).
    using Probe = std::function<std::optional<DeviceInfo>(int fd)>;

    struct Keyboard {
        QString path;
        Descriptor fd;
        DeviceInfo info;
    };

    enum class Outcome { Keyboard, Other, Unreadable, Gone };
    struct Opened {
        Outcome outcome = Outcome::Gone;
        std::optional<Keyboard> keyboard;
    };

    struct Scan {
        std::vector<Keyboard> keyboards;
        QStringList unreadable; // paths of devices the user may not open
        int others = 0; // input devices that are no keyboard
        // No keyboard could be opened while some device could not be opened at all: the user
        // lacks access, which changes only with the rights.
        bool lacksAccess() const { return keyboards.empty() && !unreadable.isEmpty(); }
    };

    explicit EvdevDeviceDiscovery(QString folder = defaultFolder(), Opener opener = {},
                                  Probe probe = {});

    static QString defaultFolder() { return QStringLiteral("/dev/input"); }
    const QString &folder() const { return mFolder; }

    // Every "event*" entry of the folder, in the kernel's order (event2 before event10).
    Scan scan() const;
    Opened open(const QString &path) const;
    // Reads a device's keys afresh (after lost events); nothing when it cannot be asked.
    std::optional<EvdevEventDecoder::Keys> heldKeys(int fd) const;
    static bool isDeviceName(const QString &fileName);

    // The real ones: open(2) read-only, non-blocking, on the monotonic clock; the kernel's
    // answers on the device's name, keys and keys held (EVIOCGNAME, EVIOCGBIT, EVIOCGKEY).
    static int openDevice(const QString &path);
    static std::optional<DeviceInfo> probeDevice(int fd);

private:
    QString mFolder;
    Opener mOpener;
    Probe mProbe;
};
