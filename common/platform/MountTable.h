#pragma once

#include <QList>
#include <QString>

#include <optional>

// The mounted file systems of this machine, read from /proc/self/mountinfo.
namespace MountTable {

struct Mount {
    QString mountPoint;
    QString fileSystemType;
    QString source;
    // The folder of the file system that is mounted: "/" unless a bind mount or a subvolume.
    QString root = QStringLiteral("/");
    // "MAJOR:MINOR" of the device; an anonymous number (0:N) for file systems without one.
    QString device = {};
    // Options of this mount ("rw,nosuid") and of the file system itself ("rw,errors=...").
    QString options = {};
    QString superOptions = {};

    bool operator==(const Mount &) const = default;
};

// Parses the text of a mountinfo file; malformed lines are skipped.
QList<Mount> parseMountInfo(const QByteArray &text);

// Disks, partitions, disk images, ZFS datasets and network shares. Kernel and memory file
// systems, snap packages and bind mounts of a folder are not volumes of their own.
bool isRealFileSystem(const Mount &mount);

// Every mount of this process's table, in table order; empty when it cannot be read.
QList<Mount> mounts();

// The mount that holds an absolute path: the deepest mount point containing it, and of mounts on
// the same point the last one (it hides the others). Links in the path are not resolved here.
std::optional<Mount> mountOf(const QString &path, const QList<Mount> &mounts);

// Whether the file system stores each file's permissions. FAT, exFAT, NTFS and SMB shares do
// not: the mount gives every file the same mode, usually with the execute bits set.
bool keepsPermissions(const QString &fileSystemType);

// Mounts of real file systems, in table order.
QList<Mount> realFileSystems();
QList<Mount> realFileSystems(const QList<Mount> &mounts);

} // namespace MountTable
