#include "BlockDevices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <unistd.h>

namespace {

QByteArray readAttribute(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Attributes are one short line; a bigger file is not one.
    return file.read(4096);
}

bool isSet(const QString &path)
{
    return readAttribute(path).trimmed() == "1";
}

QString linkTargetName(const QString &path)
{
    QByteArray target(4096, Qt::Uninitialized);
    const ssize_t length =
        ::readlink(QFile::encodeName(path).constData(), target.data(), size_t(target.size()));
    if (length <= 0 || length >= target.size())
        return {};
    target.truncate(length);
    return QFile::decodeName(target.mid(target.lastIndexOf('/') + 1));
}

bool startsWithNumbered(const QString &segment, QLatin1String prefix)
{
    return segment.size() > prefix.size() && segment.startsWith(prefix)
        && segment.at(prefix.size()).isDigit();
}

// The bus is read from the disk's place in the device tree:
// .../usb2/2-1/2-1:1.0/host6/.../block/sdb, .../ata1/host0/.../block/sda, .../virtio2/block/vda.
QString connectionOf(const QString &diskPath, const QString &diskName)
{
    const QStringList segments = diskPath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &segment : segments) {
        if (startsWithNumbered(segment, QLatin1String("usb")))
            return QStringLiteral("usb");
    }
    if (diskName.startsWith(QLatin1String("nvme")))
        return QStringLiteral("nvme");
    if (diskName.startsWith(QLatin1String("loop")))
        return QStringLiteral("loop");
    if (diskName.startsWith(QLatin1String("mmcblk")))
        return QStringLiteral("mmc");
    for (const QString &segment : segments) {
        if (startsWithNumbered(segment, QLatin1String("ata")))
            return QStringLiteral("sata");
        if (startsWithNumbered(segment, QLatin1String("virtio")))
            return QStringLiteral("virtio");
    }
    if (segments.contains(QLatin1String("virtual")))
        return {};
    for (const QString &segment : segments) {
        if (startsWithNumbered(segment, QLatin1String("host")))
            return QStringLiteral("scsi");
    }
    return {};
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isKernelName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/'));
}

} // namespace

QString BlockDevices::attributeText(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes).trimmed();
    static const QRegularExpression hexId(QStringLiteral("^0x[0-9a-fA-F]+$"));
    return hexId.match(text).hasMatch() ? QString() : text;
}

std::optional<BlockDevices::Device> BlockDevices::find(const QString &sysRoot, const QString &name,
                                                       const QString &deviceNumber)
{
    QString entry;
    if (isKernelName(name) && QFileInfo::exists(sysRoot + QLatin1String("/class/block/") + name)) {
        entry = sysRoot + QLatin1String("/class/block/") + name;
    } else {
        // 0:N is an anonymous number (btrfs, network file systems), never a block device.
        static const QRegularExpression number(QStringLiteral("^[1-9][0-9]*:[0-9]+$"));
        if (!number.match(deviceNumber).hasMatch())
            return std::nullopt;
        entry = sysRoot + QLatin1String("/dev/block/") + deviceNumber;
    }
    const QString devicePath = QFileInfo(entry).canonicalFilePath();
    if (devicePath.isEmpty())
        return std::nullopt;

    Device device;
    device.name = QFileInfo(devicePath).fileName();
    const bool isPartition = QFileInfo::exists(devicePath + QLatin1String("/partition"));
    const QString diskPath = isPartition ? QFileInfo(devicePath).path() : devicePath;
    device.wholeDisk = QFileInfo(diskPath).fileName();
    device.connection = connectionOf(diskPath, device.wholeDisk);
    // SD cards sit in fixed readers that do not call themselves removable.
    const bool sdCard = device.connection == QLatin1String("mmc")
        && readAttribute(diskPath + QLatin1String("/device/type")).trimmed() == "SD";
    device.external = isSet(diskPath + QLatin1String("/removable"))
        || device.connection == QLatin1String("usb") || sdCard;
    device.readOnly =
        isSet(devicePath + QLatin1String("/ro")) || isSet(diskPath + QLatin1String("/ro"));
    device.model = attributeText(readAttribute(diskPath + QLatin1String("/device/model")));
    device.vendor = attributeText(readAttribute(diskPath + QLatin1String("/device/vendor")));
    return device;
}

QString BlockDevices::decodeLinkName(const QByteArray &name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
            const int high = hexValue(name[i + 2]);
            const int low = hexValue(name[i + 3]);
            if (high >= 0 && low >= 0) {
                bytes.append(char(high << 4 | low));
                i += 3;
                continue;
            }
        }
        bytes.append(name[i]);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

BlockDevices::Links BlockDevices::readLinks(const QString &devDiskRoot)
{
    Links links;
    const auto read = [&devDiskRoot](const QString &folder, QHash<QString, QString> &byDevice) {
        const QDir dir(devDiskRoot + QLatin1Char('/') + folder);
        // System: a link whose device has just gone is still listed (and still names it).
        const QStringList names = dir.entryList(
            QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString &linkName : names) {
            const QString device = linkTargetName(dir.filePath(linkName));
            if (!device.isEmpty() && !byDevice.contains(device))
                byDevice.insert(device, decodeLinkName(QFile::encodeName(linkName)));
        }
    };
    read(QStringLiteral("by-uuid"), links.uuid);
    read(QStringLiteral("by-label"), links.label);
    read(QStringLiteral("by-partuuid"), links.partUuid);
    return links;
}
