// The volume list reads the mount table, sysfs attributes and the names udev gives links in
// /dev/disk (labels come from whoever formatted the stick), and the folder names gvfs makes for
// shares (from the server's share names).
#include "platform/BlockDevices.h"
#include "platform/QOR_MountVolume.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

// A disk with one partition, as sysfs and /dev/disk show it, for the mount table to point at.
QString machine()
{
    static QTemporaryDir dir;
    static const QString root = [] {
        const QString disk =
            dir.path() + QStringLiteral("/sys/devices/pci0/usb1/1-1/host6/block/sdb");
        QDir().mkpath(disk + QStringLiteral("/sdb1"));
        QDir().mkpath(dir.path() + QStringLiteral("/sys/class/block"));
        QDir().mkpath(dir.path() + QStringLiteral("/sys/dev/block"));
        QDir().mkpath(dir.path() + QStringLiteral("/dev/disk/by-label"));
        QDir().mkpath(dir.path() + QStringLiteral("/dev/disk/by-uuid"));
        const auto write = [](const QString &path, const QByteArray &bytes) {
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.write(bytes);
        };
        write(disk + QStringLiteral("/removable"), "1\n");
        write(disk + QStringLiteral("/sdb1/partition"), "1\n");
        QFile::link(disk + QStringLiteral("/sdb1"),
                    dir.path() + QStringLiteral("/sys/class/block/sdb1"));
        QFile::link(disk + QStringLiteral("/sdb1"),
                    dir.path() + QStringLiteral("/sys/dev/block/254:0"));
        QFile::link(QStringLiteral("../../sdb1"),
                    dir.path() + QStringLiteral("/dev/disk/by-label/MY\\x20ST\\xe9ICK"));
        QFile::link(QStringLiteral("../../sdb1"),
                    dir.path() + QStringLiteral("/dev/disk/by-uuid/4A21-1B2C"));
        return dir.path();
    }();
    return root;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // Each byte gives at most one UTF-16 unit, whichever way the name decodes.
    if (BlockDevices::decodeLinkName(bytes).size() > bytes.size())
        __builtin_trap();
    if (BlockDevices::attributeText(bytes).size() > bytes.size())
        __builtin_trap();
    const QString folderName = QString::fromUtf8(bytes);
    if (!folderName.isEmpty() && QOR_MountVolume::gvfsShareName(folderName).isEmpty())
        __builtin_trap();
    (void)QOR_MountVolume::gvfsProtocol(folderName);

    VolumeSources sources;
    sources.sysRoot = machine() + QStringLiteral("/sys");
    sources.devDiskRoot = machine() + QStringLiteral("/dev/disk");
    // A runtime folder that does not exist: gvfs is listed, and finds no share.
    sources.runtimeDir = QStringLiteral("/run/user/4000000000");
    sources.hostName = QStringLiteral("host");
    sources.spaceOf = [](const QString &) { return std::optional<VolumeSpace>(VolumeSpace{1, 2}); };
    const QList<MountTable::Mount> mounts = MountTable::parseMountInfo(bytes);
    const QList<QVariantMap> volumes = QOR_MountVolume::mountedVolumes(mounts, sources);
    if (volumes.size() > mounts.size())
        __builtin_trap();
    for (const QVariantMap &volume : volumes) {
        if (!volume.value(QOR_MountVolume::VolumePathKey).toString().startsWith(QLatin1Char('/')))
            __builtin_trap();
        if (!volume.contains(QOR_MountVolume::IsServerKey)
            && volume.value(QOR_MountVolume::BSDNameKey).toString().isEmpty())
            __builtin_trap();
    }
    return 0;
}
