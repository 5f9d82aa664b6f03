#pragma once

#include "platform/MountTable.h"
#include "platform/QOR_MountVolume.h"

#include <QList>
#include <QMutex>
#include <QVariantMap>

#include <optional>

// The mounted volumes, as the menu-bar menu lists them: rebuilt with updateListVolumes each
// time the menu is built, then read. Safe to use from any thread.
class QOR_MountedVolumes
{
public:
    explicit QOR_MountedVolumes(VolumeSources sources = VolumeSources::system());

    // The instance of this machine.
    static QOR_MountedVolumes &shared();

    // Reads the mount table anew: local volumes in table order, then server volumes.
    void updateListVolumes();

    int getAllMountedVolumesCount() const;
    QList<QVariantMap> getAllMountedVolumes() const;
    // None for an index out of range, negative ones included.
    std::optional<QVariantMap> getInfosForVolumeAtIndex(int index) const;
    // The volume that holds an absolute path: the one mounted at the path's mount point, else
    // a share whose folder holds it (gvfs shares are folders of one mount), else the volume of
    // the same device (a bind mount, a second mount point). Links are not resolved.
    std::optional<QVariantMap> getInfosForVolumeAtPath(const QString &path) const;

    static QString getVolumePath(const QVariantMap &record);
    static QString getVolumeName(const QVariantMap &record);

private:
    VolumeSources mSources;
    mutable QMutex mMutex;
    QList<QVariantMap> mListOfMountedVolumes;
    // The table the list was built from.
    QList<MountTable::Mount> mMounts;
};
