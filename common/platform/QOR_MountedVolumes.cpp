#include "QOR_MountedVolumes.h"

#include <QDir>
#include <QMutexLocker>

namespace {

bool holds(const QString &folder, const QString &path)
{
    return path == folder || folder == QLatin1String("/")
        || (path.startsWith(folder) && path.at(folder.size()) == QLatin1Char('/'));
}

} // namespace

QOR_MountedVolumes::QOR_MountedVolumes(VolumeSources sources)
    : mSources(std::move(sources))
{
}

QOR_MountedVolumes &QOR_MountedVolumes::shared()
{
    static QOR_MountedVolumes volumes;
    return volumes;
}

void QOR_MountedVolumes::updateListVolumes()
{
    const QList<MountTable::Mount> mounts = mSources.mountInfo
        ? MountTable::parseMountInfo(mSources.mountInfo())
        : QList<MountTable::Mount>();
    QList<QVariantMap> volumes = QOR_MountVolume::mountedVolumes(mounts, mSources);
    const QMutexLocker lock(&mMutex);
    mMounts = mounts;
    mListOfMountedVolumes = std::move(volumes);
}

int QOR_MountedVolumes::getAllMountedVolumesCount() const
{
    const QMutexLocker lock(&mMutex);
    return int(mListOfMountedVolumes.size());
}

QList<QVariantMap> QOR_MountedVolumes::getAllMountedVolumes() const
{
    const QMutexLocker lock(&mMutex);
    return mListOfMountedVolumes;
}

std::optional<QVariantMap> QOR_MountedVolumes::getInfosForVolumeAtIndex(int index) const
{
    const QMutexLocker lock(&mMutex);
    if (index < 0 || index >= mListOfMountedVolumes.size())
        return std::nullopt;
    return mListOfMountedVolumes.at(index);
}

std::optional<QVariantMap> QOR_MountedVolumes::getInfosForVolumeAtPath(const QString &path) const
{
    if (!path.startsWith(QLatin1Char('/')))
        return std::nullopt;
    const QString clean = QDir::cleanPath(path);
    const QMutexLocker lock(&mMutex);
    const std::optional<MountTable::Mount> mount = MountTable::mountOf(clean, mMounts);
    const auto recordAt = [this](const QString &mountPoint) -> std::optional<QVariantMap> {
        for (const QVariantMap &record : mListOfMountedVolumes) {
            if (getVolumePath(record) == mountPoint)
                return record;
        }
        return std::nullopt;
    };
    if (mount) {
        if (std::optional<QVariantMap> record = recordAt(mount->mountPoint))
            return record;
    }
    // The deepest share folder: mount points are not always nested in list order.
    const QVariantMap *share = nullptr;
    for (const QVariantMap &record : mListOfMountedVolumes) {
        const QString volumePath = getVolumePath(record);
        if (volumePath.count(QLatin1Char('/')) >= 3 && holds(volumePath, clean)
            && (!share || volumePath.size() > getVolumePath(*share).size()))
            share = &record;
    }
    if (share)
        return *share;
    // A device is listed at its first mount point.
    if (mount) {
        for (const MountTable::Mount &other : mMounts) {
            if (other.source == mount->source && MountTable::isRealFileSystem(other)) {
                if (std::optional<QVariantMap> record = recordAt(other.mountPoint))
                    return record;
            }
        }
    }
    return std::nullopt;
}

QString QOR_MountedVolumes::getVolumePath(const QVariantMap &record)
{
    return record.value(QOR_MountVolume::VolumePathKey).toString();
}

QString QOR_MountedVolumes::getVolumeName(const QVariantMap &record)
{
    return record.value(QOR_MountVolume::VolumeNameKey).toString();
}
