#include "platform/QOR_MountedVolumes.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

using V = QOR_MountVolume;

// A machine with an ext4 root on NVMe, a SATA disk mounted twice, a USB stick, two kernel
// shares, a gvfs share, snaps and a bind mount, as sysfs, /dev/disk and the mount table show it.
class MachineTree
{
public:
    MachineTree()
    {
        const QString usb = QStringLiteral(
            "sys/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/host6/target6:0:0/6:0:0:0");
        write(usb + QStringLiteral("/model"), "Cruzer Blade    \n");
        write(usb + QStringLiteral("/vendor"), "SanDisk \n");
        disk(usb + QStringLiteral("/block/sdb"), QStringLiteral("sdb1"), "1", "0");
        link(usb + QStringLiteral("/block/sdb/device"), QStringLiteral("../../../6:0:0:0"));

        const QString nvme =
            QStringLiteral("sys/devices/pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0");
        write(nvme + QStringLiteral("/model"), "Samsung SSD 980 PRO 1TB                 \n");
        disk(nvme + QStringLiteral("/nvme0n1"), QStringLiteral("nvme0n1p2"), "0", "0");
        link(nvme + QStringLiteral("/nvme0n1/device"), QStringLiteral("../../nvme0"));

        const QString ata =
            QStringLiteral("sys/devices/pci0000:00/0000:00:17.0/ata2/host1/target1:0:0/1:0:0:0");
        write(ata + QStringLiteral("/model"), "WDC WD40EFRX-68N\n");
        write(ata + QStringLiteral("/vendor"), "ATA     \n");
        // A disk whose write-protect is on: the mount says rw, the kernel will refuse.
        disk(ata + QStringLiteral("/block/sda"), QStringLiteral("sda1"), "0", "1");
        link(ata + QStringLiteral("/block/sda/device"), QStringLiteral("../../../1:0:0:0"));

        disk(QStringLiteral("sys/devices/virtual/block/loop3"), QString(), "0", "1");
        link(QStringLiteral("sys/class/block/loop3"),
             QStringLiteral("../../devices/virtual/block/loop3"));

        link(QStringLiteral("dev/disk/by-uuid/4A21-1B2C"), QStringLiteral("../../sdb1"));
        link(QStringLiteral("dev/disk/by-uuid/0f3c5d2e-9a41-4c7b-8e15-2b6d4f0a9c31"),
             QStringLiteral("../../nvme0n1p2"));
        link(QStringLiteral("dev/disk/by-label/MY\\x20STICK"), QStringLiteral("../../sdb1"));
        // udev keeps valid UTF-8 and escapes other bytes: an old FAT label in Latin-1.
        link(QStringLiteral("dev/disk/by-label/Sauvegarde\\x20caf\\xe9"),
             QStringLiteral("../../sda1"));
        link(QStringLiteral("dev/disk/by-partuuid/5e6f7a8b-01"), QStringLiteral("../../sdb1"));
        link(QStringLiteral("dev/disk/by-partuuid/c3a1f0e2-57d4-4b9a-a1c3-0e5f9b2d7a64"),
             QStringLiteral("../../nvme0n1p2"));

        const QString gvfs = runtimeDir() + QStringLiteral("/gvfs");
        EXPECT_TRUE(QDir().mkpath(
            gvfs + QStringLiteral("/smb-share:server=nas,share=photos%20%282024%29")));
        EXPECT_TRUE(QDir().mkpath(runtimeDir() + QStringLiteral("/doc/by-app")));
    }

    QString path(const QString &relative) const
    {
        return mDir.path() + QLatin1Char('/') + relative;
    }
    QString runtimeDir() const { return path(QStringLiteral("run/user/1000")); }

    QByteArray mountInfo() const
    {
        const QByteArray runtime = QFile::encodeName(runtimeDir()).replace(" ", "\\040");
        return QByteArray(
                   "22 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 "
                   "rw,errors=remount-ro\n"
                   "23 22 0:21 / /proc rw,nosuid,nodev,noexec - proc proc rw\n"
                   "24 22 0:5 / /dev rw,nosuid - devtmpfs udev rw,size=8000k\n"
                   "25 24 0:25 / /dev/shm rw - tmpfs tmpfs rw\n"
                   "30 22 7:3 / /snap/core22/1380 ro,nodev,relatime shared:8 - squashfs /dev/loop3 "
                   "ro\n"
                   "31 22 7:4 / /snap/firefox/4173 ro,nodev,relatime shared:9 - squashfs "
                   "/dev/loop4 ro\n"
                   "32 22 8:1 / /data rw,relatime - ext4 /dev/sda1 rw\n"
                   "33 22 8:1 / /srv/backup rw,relatime - ext4 /dev/sda1 rw\n"
                   "34 22 259:2 /home/me/projects /mnt/projects rw - ext4 /dev/nvme0n1p2 rw\n"
                   "40 22 0:50 / /mnt/nas rw,relatime - cifs //nas/music rw,vers=3.0\n"
                   "41 22 0:51 / /mnt/exports ro,relatime - nfs4 fileserver:/export/home ro\n"
                   "45 22 0:60 / RUNTIME rw shared:30 - tmpfs tmpfs rw,mode=700\n"
                   "46 45 0:61 / RUNTIME/gvfs rw,nosuid - fuse.gvfsd-fuse gvfsd-fuse "
                   "rw,user_id=1000\n"
                   "47 45 0:62 / RUNTIME/doc rw - fuse.portal portal rw,user_id=1000\n"
                   "50 22 8:17 / /mnt/stick rw,nosuid,nodev,relatime - vfat /dev/sdb1 "
                   "rw,fmask=0022\n"
                   "51 22 0:52 / /mnt/nas-again rw - cifs //nas/music rw,vers=3.0\n")
            .replace("RUNTIME", runtime);
    }

    VolumeSources sources() const
    {
        VolumeSources sources;
        sources.mountInfo = [text = mountInfo()] { return text; };
        sources.sysRoot = path(QStringLiteral("sys"));
        sources.devDiskRoot = path(QStringLiteral("dev/disk"));
        sources.runtimeDir = runtimeDir();
        sources.hostName = QStringLiteral("workstation");
        sources.spaceOf = [](const QString &mountPoint) -> std::optional<VolumeSpace> {
            return VolumeSpace{double(mountPoint.size()) * 1e9, 4e12};
        };
        return sources;
    }

private:
    void write(const QString &relative, const QByteArray &bytes)
    {
        const QString file = path(relative);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }

    void link(const QString &relative, const QString &target)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path(relative)).path()));
        ASSERT_TRUE(QFile::link(target, path(relative))) << relative.toStdString();
    }

    // A whole disk under its device, with one partition, linked from /sys/block and
    // /sys/class/block as the kernel does.
    void disk(const QString &folder, const QString &partition, const QByteArray &removable,
              const QByteArray &readOnly)
    {
        const QString name = QFileInfo(folder).fileName();
        write(folder + QStringLiteral("/removable"), removable + '\n');
        write(folder + QStringLiteral("/ro"), readOnly + '\n');
        const QString fromSys = QStringLiteral("../") + folder.mid(4);
        link(QStringLiteral("sys/block/") + name, fromSys);
        if (partition.isEmpty())
            return;
        write(folder + QLatin1Char('/') + partition + QStringLiteral("/partition"), "1\n");
        write(folder + QLatin1Char('/') + partition + QStringLiteral("/ro"), "0\n");
        link(QStringLiteral("sys/class/block/") + partition,
             QStringLiteral("../../") + folder.mid(4) + QLatin1Char('/') + partition);
    }

    QTemporaryDir mDir;
};

QStringList pathsOf(const QList<QVariantMap> &records)
{
    QStringList paths;
    for (const QVariantMap &record : records)
        paths.append(QOR_MountedVolumes::getVolumePath(record));
    return paths;
}

QVariantMap spaced(QVariantMap record)
{
    const QString path = QOR_MountedVolumes::getVolumePath(record);
    record.insert(V::FreeSizeKey, double(path.size()) * 1e9);
    record.insert(V::SizeKey, 4e12);
    return record;
}

} // namespace

TEST(MountedVolumes, ListsEachVolumeOnceLocalOnesFirst)
{
    const MachineTree machine;
    QOR_MountedVolumes volumes(machine.sources());
    EXPECT_EQ(volumes.getAllMountedVolumesCount(), 0);
    volumes.updateListVolumes();

    // No kernel file systems, snaps, bind mount or document portal; the disk and the share
    // mounted twice appear at their first mount point.
    const QString share = machine.runtimeDir()
        + QStringLiteral("/gvfs/smb-share:server=nas,share=photos%20%282024%29");
    const QList<QVariantMap> records = volumes.getAllMountedVolumes();
    EXPECT_EQ(
        pathsOf(records),
        (QStringList{QStringLiteral("/"), QStringLiteral("/data"), QStringLiteral("/mnt/stick"),
                     QStringLiteral("/mnt/nas"), QStringLiteral("/mnt/exports"), share}));
    QStringList names;
    for (const QVariantMap &record : records)
        names.append(QOR_MountedVolumes::getVolumeName(record));
    EXPECT_EQ(names,
              (QStringList{QStringLiteral("workstation"), QStringLiteral("Sauvegarde café"),
                           QStringLiteral("MY STICK"), QStringLiteral("nas"),
                           QStringLiteral("exports"), QStringLiteral("photos (2024)")}));
    EXPECT_EQ(volumes.getAllMountedVolumesCount(), 6);
    EXPECT_EQ(
        QOR_MountVolume::getAllMountedVolumesBSDName(
            MountTable::parseMountInfo(machine.mountInfo())),
        (QStringList{QStringLiteral("nvme0n1p2"), QStringLiteral("sda1"), QStringLiteral("sdb1")}));
}

TEST(MountedVolumes, LocalRecordsComeFromSysfsAndTheDiskLinks)
{
    const MachineTree machine;
    QOR_MountedVolumes volumes(machine.sources());
    volumes.updateListVolumes();

    const QVariantMap stick =
        spaced({{V::BSDNameKey, QStringLiteral("sdb1")},
                {V::MountableKey, true},
                {V::UUIDKey, QStringLiteral("4A21-1B2C")},
                {V::VolumeNameKey, QStringLiteral("MY STICK")},
                {V::VolumePathKey, QStringLiteral("/mnt/stick")},
                {V::MediaBSDNameKey, QStringLiteral("sdb")},
                {V::InternalKey, false},
                {V::WritableKey, true},
                {V::VolumeTypeKey, QStringLiteral("vfat")},
                {V::VolumeKindKey, QStringLiteral("vfat")},
                {V::ConnectionKey, QStringLiteral("usb")},
                {V::ModelKey, QStringLiteral("Cruzer Blade")},
                {V::VendorKey, QStringLiteral("SanDisk")},
                {V::PartitionMapKey, QStringLiteral("FDisk_partition_scheme")}});
    EXPECT_EQ(volumes.getInfosForVolumeAtIndex(2), stick);

    const QVariantMap root =
        spaced({{V::BSDNameKey, QStringLiteral("nvme0n1p2")},
                {V::MountableKey, true},
                {V::UUIDKey, QStringLiteral("0f3c5d2e-9a41-4c7b-8e15-2b6d4f0a9c31")},
                {V::VolumeNameKey, QStringLiteral("workstation")},
                {V::VolumePathKey, QStringLiteral("/")},
                {V::MediaBSDNameKey, QStringLiteral("nvme0n1")},
                {V::InternalKey, true},
                {V::WritableKey, true},
                {V::VolumeTypeKey, QStringLiteral("ext4")},
                {V::VolumeKindKey, QStringLiteral("ext4")},
                {V::ConnectionKey, QStringLiteral("nvme")},
                {V::ModelKey, QStringLiteral("Samsung SSD 980 PRO 1TB")},
                {V::PartitionMapKey, QStringLiteral("GUID_partition_scheme")}});
    EXPECT_EQ(volumes.getInfosForVolumeAtIndex(0), root);

    // No UUID link: empty text; the disk's write-protect wins over the mount's rw.
    const std::optional<QVariantMap> data = volumes.getInfosForVolumeAtIndex(1);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->value(V::UUIDKey), QVariant(QString()));
    EXPECT_EQ(data->value(V::WritableKey), QVariant(false));
    EXPECT_EQ(data->value(V::ConnectionKey), QVariant(QStringLiteral("sata")));
    EXPECT_EQ(data->value(V::InternalKey), QVariant(true));
    EXPECT_FALSE(data->contains(V::PartitionMapKey));

    EXPECT_FALSE(volumes.getInfosForVolumeAtIndex(-1));
    EXPECT_FALSE(volumes.getInfosForVolumeAtIndex(6));
}

TEST(MountedVolumes, ServerRecordsSayTheProtocol)
{
    const MachineTree machine;
    QOR_MountedVolumes volumes(machine.sources());
    volumes.updateListVolumes();
    const QString share = machine.runtimeDir()
        + QStringLiteral("/gvfs/smb-share:server=nas,share=photos%20%282024%29");
    const QList<QVariantMap> expected = {
        spaced({{V::VolumeNameKey, QStringLiteral("nas")},
                {V::VolumePathKey, QStringLiteral("/mnt/nas")},
                {V::IsServerKey, 1},
                {V::VolumeKindKey, QStringLiteral("cifs")},
                {V::ConnectionKey, QStringLiteral("smb")},
                {V::WritableKey, true}}),
        spaced({{V::VolumeNameKey, QStringLiteral("exports")},
                {V::VolumePathKey, QStringLiteral("/mnt/exports")},
                {V::IsServerKey, 1},
                {V::VolumeKindKey, QStringLiteral("nfs4")},
                {V::ConnectionKey, QStringLiteral("nfs")},
                {V::WritableKey, false}}),
        spaced({{V::VolumeNameKey, QStringLiteral("photos (2024)")},
                {V::VolumePathKey, share},
                {V::IsServerKey, 1},
                {V::VolumeKindKey, QStringLiteral("gvfs")},
                {V::ConnectionKey, QStringLiteral("smb")}})};
    EXPECT_EQ(volumes.getAllMountedVolumes().mid(3), expected);
}

TEST(MountedVolumes, APathBelongsToTheVolumeThatHoldsIt)
{
    const MachineTree machine;
    QOR_MountedVolumes volumes(machine.sources());
    volumes.updateListVolumes();
    const auto volumeAt = [&volumes](const QString &path) {
        const std::optional<QVariantMap> record = volumes.getInfosForVolumeAtPath(path);
        return record ? QOR_MountedVolumes::getVolumePath(*record) : QStringLiteral("none");
    };
    const QString share = machine.runtimeDir()
        + QStringLiteral("/gvfs/smb-share:server=nas,share=photos%20%282024%29");
    EXPECT_EQ(volumeAt(QStringLiteral("/mnt/stick/DCIM/IMG_0001.JPG")),
              QStringLiteral("/mnt/stick"));
    EXPECT_EQ(volumeAt(QStringLiteral("/mnt/stick")), QStringLiteral("/mnt/stick"));
    // Not the stick: only a name that begins alike.
    EXPECT_EQ(volumeAt(QStringLiteral("/mnt/stickers/a")), QStringLiteral("/"));
    EXPECT_EQ(volumeAt(share + QStringLiteral("/2024/beach.jpg")), share);
    // The second mount point of a disk, and a bind mount, lead to the listed volume.
    EXPECT_EQ(volumeAt(QStringLiteral("/srv/backup/monday.tar")), QStringLiteral("/data"));
    EXPECT_EQ(volumeAt(QStringLiteral("/mnt/projects/korvale")), QStringLiteral("/"));
    EXPECT_EQ(volumeAt(QStringLiteral("/mnt/nas-again/song.flac")), QStringLiteral("/mnt/nas"));
    EXPECT_EQ(volumeAt(QStringLiteral("/proc/self/status")), QStringLiteral("none"));
    EXPECT_EQ(volumeAt(QStringLiteral("relative/path")), QStringLiteral("none"));
}

TEST(MountedVolumes, AShareThatStopsAnsweringIsListedWithoutItsSpace)
{
    struct Stall {
        std::mutex mutex;
        std::condition_variable changed;
        bool released = false;
        int calls = 0;
    };
    const auto stall = std::make_shared<Stall>();
    const MachineTree machine;
    VolumeSources sources = machine.sources();
    sources.spaceOf = QOR_MountVolume::withTimeLimit(
        [stall, answer = sources.spaceOf](const QString &mountPoint) {
            if (mountPoint == QLatin1String("/mnt/nas")) {
                std::unique_lock lock(stall->mutex);
                ++stall->calls;
                stall->changed.wait(lock, [&stall] { return stall->released; });
            }
            return answer(mountPoint);
        },
        std::chrono::milliseconds(1000));
    QOR_MountedVolumes volumes(sources);

    volumes.updateListVolumes();
    const auto nas = [&volumes] { return *volumes.getInfosForVolumeAtIndex(3); };
    EXPECT_EQ(QOR_MountedVolumes::getVolumePath(nas()), QStringLiteral("/mnt/nas"));
    EXPECT_FALSE(nas().contains(V::SizeKey));
    EXPECT_TRUE(volumes.getInfosForVolumeAtIndex(4)->contains(V::SizeKey));

    // While the first call hangs, the share is not asked again.
    volumes.updateListVolumes();
    EXPECT_FALSE(nas().contains(V::SizeKey));
    {
        const std::lock_guard lock(stall->mutex);
        stall->released = true;
    }
    stall->changed.notify_all();

    const QDeadlineTimer deadline(10000);
    while (!nas().contains(V::SizeKey) && !deadline.hasExpired())
        volumes.updateListVolumes();
    EXPECT_EQ(nas().value(V::SizeKey), QVariant(4e12));
    const std::lock_guard lock(stall->mutex);
    EXPECT_EQ(stall->calls, 2);
}
