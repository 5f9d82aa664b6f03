#pragma once

#include <QList>
#include <QString>

// The mounted file systems of this machine, read from /proc/self/mountinfo.
namespace MountTable {

struct Mount {
    QString mountPoint;
    QString fileSystemType;
    QString source;
    // The folder of the file system that is mounted: "/" unless a bind mount or a subvolume.
    QString root = QStringLiteral("/");

    bool operator==(const Mount &) const = default;
};

// Parses the text of a mountinfo file; malformed lines are skipped.
QList<Mount> parseMountInfo(const QByteArray &text);

// Disks, partitions, disk images, ZFS datasets and network shares. Kernel and memory file
// systems, snap packages and bind mounts of a folder are not volumes of their own.
bool isRealFileSystem(const Mount &mount);

// Mounts of real file systems, in table order.
QList<Mount> realFileSystems();
QList<Mount> realFileSystems(const QList<Mount> &mounts);

} // namespace MountTable
