#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

// What sysfs and udev's links in /dev/disk tell about the block devices behind mounted volumes.
// The roots are parameters so that tests can build small trees.
namespace BlockDevices {

struct Device {
    // Kernel names of the device (sdb1, nvme0n1p2, dm-0) and of the whole disk it is part of.
    QString name;
    QString wholeDisk;
    // The whole disk says it can be taken out (card readers, sticks) or hangs on USB or SD.
    bool external = false;
    // The partition or its whole disk is read-only (a locked SD card, a write-blocked disk).
    bool readOnly = false;
    // "usb", "nvme", "sata", "virtio", "mmc", "scsi" or "loop"; empty when unknown.
    QString connection;
    QString model;
    QString vendor;
};

// The device of a kernel name, or else of a device number "MAJOR:MINOR": device-mapper names
// such as /dev/mapper/root are not kernel names, but the mount table has the number.
std::optional<Device> find(const QString &sysRoot, const QString &name,
                           const QString &deviceNumber);

// A sysfs attribute as text: trimmed, and empty when it is a bare number such as virtio's
// vendor id 0x1af4, which says nothing to a person.
QString attributeText(const QByteArray &bytes);

// The names udev gives devices in /dev/disk, by kernel name.
struct Links {
    QHash<QString, QString> uuid;
    QHash<QString, QString> label;
    QHash<QString, QString> partUuid;
};
Links readLinks(const QString &devDiskRoot);

// udev writes the bytes of a name outside its safe set as \xNN ("MY\x20STICK"); the bytes are
// then UTF-8, or else taken as Latin-1 so that an old FAT label still shows.
QString decodeLinkName(const QByteArray &name);

} // namespace BlockDevices
