#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The version the preview shows under an application: for a desktop entry, the newest stable
// release listed in its AppStream metadata. Main thread (the folder index is cached).
class ApplicationVersion
{
public:
    ApplicationVersion() = delete;

    // None when the path is not a desktop entry or no metadata names a release for it.
    static std::optional<QString> versionForPath(const QString &path);

    // Where metadata is looked for, in order; an empty list restores the desktop's folders
    // (the "metainfo", then "appdata", folders of each XDG data folder).
    static void setMetainfoFolders(const QStringList &folders);
    static QStringList metainfoFolders();

    // The newest stable release of one metadata file (with its external releases file, when
    // the component points to one); none when it lists none.
    static std::optional<QString> newestReleaseInFile(const QString &metainfoPath);

    // AppStream's order of versions: digit runs compare as numbers, letters as text, and a
    // "~" sorts before anything (1.0~rc1 < 1.0).
    static int compareVersions(const QString &a, const QString &b);
};
