#pragma once

#include "platform/MountTable.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <chrono>
#include <functional>
#include <optional>

// Free and total bytes of a mounted file system.
struct VolumeSpace {
    double free = 0;
    double total = 0;
};

using VolumeSpaceFunction = std::function<std::optional<VolumeSpace>(const QString &mountPoint)>;

// Where volumes are read from: system() reads this machine; tests give text and folders of their
// own.
struct VolumeSources {
    // The text of /proc/self/mountinfo, read anew for each list.
    std::function<QByteArray()> mountInfo;
    QString sysRoot = QStringLiteral("/sys");
    QString devDiskRoot = QStringLiteral("/dev/disk");
    // $XDG_RUNTIME_DIR, where the desktop mounts its own shares (gvfs); empty: none.
    QString runtimeDir;
    // The name of "/" when its file system has no label.
    QString hostName;
    VolumeSpaceFunction spaceOf;

    static VolumeSources system();
};

// Describes the volumes mounted on this machine as records (QVariantMap). Mount points are
// never opened: a server that stopped answering must not hold up the menu that lists them.
class QOR_MountVolume
{
public:
    QOR_MountVolume() = delete;

    // Record keys.
    static const QString BSDNameKey;
    static const QString MountableKey;
    static const QString UUIDKey;
    static const QString VolumeNameKey;
    static const QString VolumePathKey;
    static const QString MediaBSDNameKey;
    static const QString InternalKey;
    static const QString WritableKey;
    static const QString VolumeTypeKey;
    static const QString VolumeKindKey;
    static const QString ConnectionKey;
    static const QString ModelKey;
    static const QString VendorKey;
    static const QString FreeSizeKey;
    static const QString SizeKey;
    static const QString PartitionMapKey;
    static const QString IsServerKey;

    // Device names of the local volumes (sdb1, or a ZFS dataset's name), once each, in table
    // order. Kernel and memory file systems, snap packages and bind mounts are not volumes.
    static QStringList getAllMountedVolumesBSDName(const QList<MountTable::Mount> &mounts);

    // The record of a device's first mount; none when the device is not mounted as a volume.
    static std::optional<QVariantMap>
    getInformationForBSDName(const QString &bsdName, const QList<MountTable::Mount> &mounts,
                             const VolumeSources &sources);

    // Network shares (NFS, SMB, SSHFS ...) in table order, then the shares the desktop mounted
    // through gvfs in the runtime folder. Other FUSE mounts there (the document portal,
    // kio-fuse) are the desktop's plumbing, not volumes.
    static QList<QVariantMap> getAllServers(const QList<MountTable::Mount> &mounts,
                                            const VolumeSources &sources);

    // Every volume: local ones in table order, then server ones.
    static QList<QVariantMap> mountedVolumes(const QList<MountTable::Mount> &mounts,
                                             const VolumeSources &sources);

    // gvfs names a share's folder "smb-share:server=nas,share=music": the name a person knows
    // ("music", else the host) and the protocol ("smb").
    static QString gvfsShareName(const QString &folderName);
    static QString gvfsProtocol(const QString &folderName);

    // statvfs: the space an unprivileged user can fill, and the total.
    static std::optional<VolumeSpace> statvfsSpace(const QString &mountPoint);

    // Gives up on a call after the limit and leaves it to finish alone; a mount point whose call
    // is still running is not asked again until it has.
    static VolumeSpaceFunction withTimeLimit(VolumeSpaceFunction spaceOf,
                                             std::chrono::milliseconds limit);
};
