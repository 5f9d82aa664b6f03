#include "MountTable.h"

#include <QFile>
#include <QSet>

namespace {

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

// mountinfo writes blank, tab, newline and backslash in paths as "\" and three octal digits.
QString unescape(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctalDigit(field[i + 1])
            && isOctalDigit(field[i + 2]) && isOctalDigit(field[i + 3])) {
            out.append(char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3)
                            | (field[i + 3] - '0')));
            i += 3;
            continue;
        }
        out.append(field[i]);
    }
    return QString::fromUtf8(out);
}

} // namespace

QList<MountTable::Mount> MountTable::parseMountInfo(const QByteArray &text)
{
    // ID PARENT MAJOR:MINOR ROOT MOUNT-POINT OPTIONS [OPTIONAL...] - TYPE SOURCE SUPER-OPTIONS
    constexpr qsizetype FirstOptionalField = 6;
    QList<Mount> mounts;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < FirstOptionalField + 3)
            continue;
        const qsizetype separator = fields.indexOf("-", FirstOptionalField);
        if (separator < 0 || separator + 2 >= fields.size())
            continue;
        Mount mount;
        mount.device = QString::fromLatin1(fields[2]);
        mount.root = unescape(fields[3]);
        mount.mountPoint = unescape(fields[4]);
        mount.options = unescape(fields[5]);
        mount.fileSystemType = unescape(fields[separator + 1]);
        mount.source = unescape(fields[separator + 2]);
        if (separator + 3 < fields.size())
            mount.superOptions = unescape(fields[separator + 3]);
        if (!mount.mountPoint.startsWith(QLatin1Char('/')))
            continue;
        mounts.append(mount);
    }
    return mounts;
}

bool MountTable::isRealFileSystem(const Mount &mount)
{
    static const QSet<QString> network = {
        QStringLiteral("nfs"),        QStringLiteral("nfs4"),     QStringLiteral("cifs"),
        QStringLiteral("smb3"),       QStringLiteral("smbfs"),    QStringLiteral("sshfs"),
        QStringLiteral("fuse.sshfs"), QStringLiteral("davfs"),    QStringLiteral("afs"),
        QStringLiteral("ceph"),       QStringLiteral("glusterfs")};
    // Disk file systems whose source is a pool or dataset name rather than a device.
    static const QSet<QString> pooled = {QStringLiteral("zfs"), QStringLiteral("bcachefs")};
    // Read-only package images (snaps) mounted from loop devices are not the user's volumes.
    if (mount.fileSystemType == QLatin1String("squashfs"))
        return false;
    const bool fromDevice = mount.source.startsWith(QLatin1String("/dev/"));
    if (!fromDevice && !network.contains(mount.fileSystemType)
        && !pooled.contains(mount.fileSystemType))
        return false;
    // A bind mount shows a folder of a volume mounted elsewhere; btrfs subvolumes also have a
    // root of their own but are what the user knows as the volume.
    if (fromDevice && mount.root != QLatin1String("/")
        && mount.fileSystemType != QLatin1String("btrfs"))
        return false;
    return true;
}

QList<MountTable::Mount> MountTable::realFileSystems(const QList<Mount> &mounts)
{
    QList<Mount> real;
    for (const Mount &mount : mounts) {
        if (isRealFileSystem(mount))
            real.append(mount);
    }
    return real;
}

QList<MountTable::Mount> MountTable::mounts()
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parseMountInfo(file.readAll());
}

QList<MountTable::Mount> MountTable::realFileSystems()
{
    return realFileSystems(mounts());
}

std::optional<MountTable::Mount> MountTable::mountOf(const QString &path,
                                                     const QList<Mount> &mounts)
{
    std::optional<Mount> found;
    for (const Mount &mount : mounts) {
        const QString &point = mount.mountPoint;
        const bool contains = point == QLatin1String("/") || path == point
            || (path.startsWith(point) && path.at(point.size()) == QLatin1Char('/'));
        if (contains && (!found || point.size() >= found->mountPoint.size()))
            found = mount;
    }
    return found;
}

bool MountTable::keepsPermissions(const QString &fileSystemType)
{
    // ntfs-3g and the FUSE exFAT driver show up as "fuseblk".
    static const QSet<QString> madeUp = {QStringLiteral("vfat"),    QStringLiteral("msdos"),
                                         QStringLiteral("fat"),     QStringLiteral("exfat"),
                                         QStringLiteral("ntfs"),    QStringLiteral("ntfs3"),
                                         QStringLiteral("fuseblk"), QStringLiteral("cifs"),
                                         QStringLiteral("smb3"),    QStringLiteral("smbfs")};
    return !madeUp.contains(fileSystemType);
}
