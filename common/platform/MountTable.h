#pragma once

#include <QString>
#include <QStringList>

// The mounted file systems of this machine, read from /proc/self/mountinfo.
namespace MountTable {

struct Mount {
    QString mountPoint;
    QString fileSystemType;
    QString source;
};

// Parses the text of a mountinfo file (exposed for tests).
QList<Mount> parseMountInfo(const QByteArray &text);

// Mounts of real file systems (disks, network shares, removable media), in table order.
QList<Mount> realFileSystems();

bool isRealFileSystem(const Mount &mount);

} // namespace MountTable
