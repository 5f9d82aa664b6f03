#include "QOR_MountVolume.h"

#include "platform/BlockDevices.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSysInfo>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include <sys/statvfs.h>

const QString QOR_MountVolume::BSDNameKey = QStringLiteral("bsdName");
const QString QOR_MountVolume::MountableKey = QStringLiteral("mountable");
const QString QOR_MountVolume::UUIDKey = QStringLiteral("uuid");
const QString QOR_MountVolume::VolumeNameKey = QStringLiteral("volName");
const QString QOR_MountVolume::VolumePathKey = QStringLiteral("volPath");
const QString QOR_MountVolume::MediaBSDNameKey = QStringLiteral("mediaBSDName");
const QString QOR_MountVolume::InternalKey = QStringLiteral("internal");
const QString QOR_MountVolume::WritableKey = QStringLiteral("writable");
const QString QOR_MountVolume::VolumeTypeKey = QStringLiteral("volumeType");
const QString QOR_MountVolume::VolumeKindKey = QStringLiteral("volKind");
const QString QOR_MountVolume::ConnectionKey = QStringLiteral("connection");
const QString QOR_MountVolume::ModelKey = QStringLiteral("model");
const QString QOR_MountVolume::VendorKey = QStringLiteral("vendor");
const QString QOR_MountVolume::FreeSizeKey = QStringLiteral("volFreeSize");
const QString QOR_MountVolume::SizeKey = QStringLiteral("volSize");
const QString QOR_MountVolume::PartitionMapKey = QStringLiteral("diskPartitionMap");
const QString QOR_MountVolume::IsServerKey = QStringLiteral("isServer");

namespace {

using Mount = MountTable::Mount;
using namespace std::chrono_literals;

// Mount points whose call is still running after its caller gave up.
struct BusyKeys {
    std::mutex mutex;
    QSet<QString> keys;
};

template <typename T>
std::optional<T> callWithTimeLimit(const std::shared_ptr<BusyKeys> &busy, const QString &key,
                                   std::function<std::optional<T>()> work,
                                   std::chrono::milliseconds limit)
{
    struct Call {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::optional<T> result;
    };
    {
        const std::lock_guard lock(busy->mutex);
        if (busy->keys.contains(key))
            return std::nullopt;
        busy->keys.insert(key);
    }
    auto call = std::make_shared<Call>();
    try {
        std::thread([busy, key, work = std::move(work), call] {
            std::optional<T> result = work();
            {
                const std::lock_guard lock(call->mutex);
                call->result = std::move(result);
                call->finished = true;
            }
            call->done.notify_all();
            const std::lock_guard lock(busy->mutex);
            busy->keys.remove(key);
        }).detach();
    } catch (const std::system_error &) {
        const std::lock_guard lock(busy->mutex);
        busy->keys.remove(key);
        return std::nullopt;
    }
    std::unique_lock lock(call->mutex);
    if (!call->done.wait_for(lock, limit, [&call] { return call->finished; }))
        return std::nullopt;
    return call->result;
}

// Kernel file systems of shares, and the protocol a person knows them by.
const QHash<QString, QString> &serverProtocols()
{
    static const QHash<QString, QString> protocols = {
        {QStringLiteral("nfs"), QStringLiteral("nfs")},
        {QStringLiteral("nfs4"), QStringLiteral("nfs")},
        {QStringLiteral("cifs"), QStringLiteral("smb")},
        {QStringLiteral("smb3"), QStringLiteral("smb")},
        {QStringLiteral("smbfs"), QStringLiteral("smb")},
        {QStringLiteral("sshfs"), QStringLiteral("sftp")},
        {QStringLiteral("fuse.sshfs"), QStringLiteral("sftp")},
        {QStringLiteral("davfs"), QStringLiteral("webdav")},
        {QStringLiteral("afs"), QStringLiteral("afs")},
        {QStringLiteral("ceph"), QStringLiteral("ceph")},
        {QStringLiteral("glusterfs"), QStringLiteral("glusterfs")},
        {QStringLiteral("fuse.glusterfs"), QStringLiteral("glusterfs")},
        {QStringLiteral("fuse.rclone"), QStringLiteral("rclone")}};
    return protocols;
}

bool isServerMount(const Mount &mount)
{
    return serverProtocols().contains(mount.fileSystemType)
        && !mount.source.startsWith(QLatin1String("/dev/"));
}

bool isLocalVolume(const Mount &mount)
{
    return MountTable::isRealFileSystem(mount) && !isServerMount(mount);
}

// "/dev/sdb1" is known as sdb1; a ZFS dataset ("rpool/home") only by its whole name.
QString bsdNameOf(const Mount &mount)
{
    if (!mount.source.startsWith(QLatin1String("/dev/")))
        return mount.source;
    return mount.source.mid(mount.source.lastIndexOf(QLatin1Char('/')) + 1);
}

bool hasOption(const QString &options, QLatin1String option)
{
    return options.split(QLatin1Char(',')).contains(option);
}

bool mountedWritable(const Mount &mount)
{
    return !hasOption(mount.options, QLatin1String("ro"))
        && !hasOption(mount.superOptions, QLatin1String("ro"));
}

QString lastComponent(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString last = path.mid(slash + 1);
    return last.isEmpty() ? path : last;
}

// A GPT partition's id is a UUID; an MBR one is the disk's signature and the partition number.
QString partitionMapOf(const QString &partUuid)
{
    static const QRegularExpression gpt(
        QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression mbr(QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{2}$"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (gpt.match(partUuid).hasMatch())
        return QStringLiteral("GUID_partition_scheme");
    if (mbr.match(partUuid).hasMatch())
        return QStringLiteral("FDisk_partition_scheme");
    return {};
}

void insertText(QVariantMap &record, const QString &key, const QString &text)
{
    if (!text.isEmpty())
        record.insert(key, text);
}

void insertSpace(QVariantMap &record, const QString &mountPoint, const VolumeSources &sources)
{
    if (!sources.spaceOf)
        return;
    if (const std::optional<VolumeSpace> space = sources.spaceOf(mountPoint)) {
        record.insert(QOR_MountVolume::FreeSizeKey, space->free);
        record.insert(QOR_MountVolume::SizeKey, space->total);
    }
}

QVariantMap localRecord(const Mount &mount, const VolumeSources &sources)
{
    using V = QOR_MountVolume;
    const QString bsdName = bsdNameOf(mount);
    const std::optional<BlockDevices::Device> device =
        mount.source.startsWith(QLatin1String("/dev/"))
        ? BlockDevices::find(sources.sysRoot, bsdName, mount.device)
        : std::nullopt;
    const BlockDevices::Links links = BlockDevices::readLinks(sources.devDiskRoot);
    // The links name kernel devices (dm-0), not the /dev/mapper names mounts use.
    const QString kernelName = device ? device->name : bsdName;

    QVariantMap record;
    record.insert(V::BSDNameKey, bsdName);
    record.insert(V::MountableKey, true);
    record.insert(V::UUIDKey, links.uuid.value(kernelName));
    record.insert(V::VolumePathKey, mount.mountPoint);
    record.insert(V::VolumeTypeKey, mount.fileSystemType);
    record.insert(V::VolumeKindKey, mount.fileSystemType);
    record.insert(V::WritableKey, mountedWritable(mount) && !(device && device->readOnly));

    QString name = links.label.value(kernelName);
    if (name.isEmpty())
        name = mount.mountPoint == QLatin1String("/") ? sources.hostName
                                                      : lastComponent(mount.mountPoint);
    record.insert(V::VolumeNameKey, name.isEmpty() ? mount.mountPoint : name);

    if (device) {
        record.insert(V::MediaBSDNameKey, device->wholeDisk);
        record.insert(V::InternalKey, !device->external);
        insertText(record, V::ConnectionKey, device->connection);
        insertText(record, V::ModelKey, device->model);
        insertText(record, V::VendorKey, device->vendor);
        insertText(record, V::PartitionMapKey, partitionMapOf(links.partUuid.value(kernelName)));
    }
    insertSpace(record, mount.mountPoint, sources);
    return record;
}

QVariantMap serverRecord(const QString &name, const QString &path, const QString &kind,
                         const QString &protocol, const VolumeSources &sources)
{
    using V = QOR_MountVolume;
    QVariantMap record;
    record.insert(V::VolumeNameKey, name);
    record.insert(V::VolumePathKey, path);
    record.insert(V::IsServerKey, 1);
    record.insert(V::VolumeKindKey, kind);
    insertText(record, V::ConnectionKey, protocol);
    insertSpace(record, path, sources);
    return record;
}

// The shares in the gvfs folder; listing it goes through gvfsd-fuse, so it gets a time limit.
QStringList gvfsShares(const QString &folder)
{
    static const auto busy = std::make_shared<BusyKeys>();
    const std::optional<QStringList> names = callWithTimeLimit<QStringList>(
        busy, folder,
        [folder]() -> std::optional<QStringList> {
            return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                          QDir::Name);
        },
        500ms);
    return names.value_or(QStringList());
}

bool isInside(const QString &path, const QString &folder)
{
    return !folder.isEmpty() && QDir::cleanPath(path).startsWith(folder + QLatin1Char('/'));
}

} // namespace

VolumeSources VolumeSources::system()
{
    VolumeSources sources;
    sources.mountInfo = [] {
        QFile file(QStringLiteral("/proc/self/mountinfo"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    sources.runtimeDir = QDir::cleanPath(qEnvironmentVariable("XDG_RUNTIME_DIR"));
    if (sources.runtimeDir == QLatin1String("."))
        sources.runtimeDir.clear();
    sources.hostName = QSysInfo::machineHostName();
    sources.spaceOf = QOR_MountVolume::withTimeLimit(&QOR_MountVolume::statvfsSpace, 500ms);
    return sources;
}

QStringList QOR_MountVolume::getAllMountedVolumesBSDName(const QList<MountTable::Mount> &mounts)
{
    QStringList names;
    for (const Mount &mount : mounts) {
        if (!isLocalVolume(mount))
            continue;
        const QString name = bsdNameOf(mount);
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
    return names;
}

std::optional<QVariantMap> QOR_MountVolume::getInformationForBSDName(
    const QString &bsdName, const QList<MountTable::Mount> &mounts, const VolumeSources &sources)
{
    for (const Mount &mount : mounts) {
        if (isLocalVolume(mount) && bsdNameOf(mount) == bsdName)
            return localRecord(mount, sources);
    }
    return std::nullopt;
}

QList<QVariantMap> QOR_MountVolume::getAllServers(const QList<MountTable::Mount> &mounts,
                                                  const VolumeSources &sources)
{
    QList<QVariantMap> servers;
    QSet<QString> seen;
    for (const Mount &mount : mounts) {
        if (isServerMount(mount)) {
            if (seen.contains(mount.source))
                continue;
            seen.insert(mount.source);
            servers.append(serverRecord(lastComponent(mount.mountPoint), mount.mountPoint,
                                        mount.fileSystemType,
                                        serverProtocols().value(mount.fileSystemType), sources));
            servers.last().insert(WritableKey, mountedWritable(mount));
        } else if (mount.fileSystemType == QLatin1String("fuse.gvfsd-fuse")
                   && isInside(mount.mountPoint, sources.runtimeDir)
                   && !seen.contains(mount.mountPoint)) {
            seen.insert(mount.mountPoint);
            for (const QString &share : gvfsShares(mount.mountPoint)) {
                servers.append(serverRecord(gvfsShareName(share),
                                            mount.mountPoint + QLatin1Char('/') + share,
                                            QStringLiteral("gvfs"), gvfsProtocol(share), sources));
            }
        }
    }
    return servers;
}

QList<QVariantMap> QOR_MountVolume::mountedVolumes(const QList<MountTable::Mount> &mounts,
                                                   const VolumeSources &sources)
{
    QList<QVariantMap> volumes;
    for (const QString &name : getAllMountedVolumesBSDName(mounts)) {
        if (std::optional<QVariantMap> record = getInformationForBSDName(name, mounts, sources))
            volumes.append(std::move(*record));
    }
    volumes.append(getAllServers(mounts, sources));
    return volumes;
}

QString QOR_MountVolume::gvfsShareName(const QString &folderName)
{
    const qsizetype colon = folderName.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return folderName;
    QHash<QString, QString> values;
    for (const QString &pair : folderName.mid(colon + 1).split(QLatin1Char(','))) {
        const qsizetype equals = pair.indexOf(QLatin1Char('='));
        if (equals > 0)
            values.insert(pair.left(equals), pair.mid(equals + 1));
    }
    for (const QLatin1String key : {QLatin1String("share"), QLatin1String("volume"),
                                    QLatin1String("host"), QLatin1String("server")}) {
        const QString value = values.value(key);
        if (!value.isEmpty()) {
            // Values are escaped as in a URI ("%20").
            const QString name = QString::fromUtf8(QByteArray::fromPercentEncoding(value.toUtf8()));
            if (!name.isEmpty())
                return name;
        }
    }
    return folderName;
}

QString QOR_MountVolume::gvfsProtocol(const QString &folderName)
{
    const qsizetype colon = folderName.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return {};
    QString scheme = folderName.left(colon);
    for (const QLatin1String suffix :
         {QLatin1String("-share"), QLatin1String("-server"), QLatin1String("-volume")}) {
        if (scheme.endsWith(suffix))
            scheme.chop(suffix.size());
    }
    if (scheme == QLatin1String("dav") || scheme == QLatin1String("davs"))
        return QStringLiteral("webdav");
    return scheme;
}

std::optional<VolumeSpace> QOR_MountVolume::statvfsSpace(const QString &mountPoint)
{
    struct statvfs info;
    if (::statvfs(QFile::encodeName(mountPoint).constData(), &info) != 0)
        return std::nullopt;
    const double blockSize = double(info.f_frsize ? info.f_frsize : info.f_bsize);
    return VolumeSpace{double(info.f_bavail) * blockSize, double(info.f_blocks) * blockSize};
}

VolumeSpaceFunction QOR_MountVolume::withTimeLimit(VolumeSpaceFunction spaceOf,
                                                   std::chrono::milliseconds limit)
{
    // One set per function: the calls left running belong to the function that started them.
    auto busy = std::make_shared<BusyKeys>();
    return [spaceOf = std::move(spaceOf), limit, busy](const QString &mountPoint) {
        return callWithTimeLimit<VolumeSpace>(
            busy, mountPoint, [spaceOf, mountPoint] { return spaceOf(mountPoint); }, limit);
    };
}
