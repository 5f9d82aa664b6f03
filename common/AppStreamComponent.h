#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What one AppStream metadata file (/usr/share/metainfo/*.xml), or an external releases file,
// says about its component. Any bytes: what is not well-formed XML reads as far as it is.
struct AppStreamComponent {
    QString id;
    QStringList desktopIds; // launchables, and the id itself when it names a desktop entry
    QStringList stableVersions; // in file order
    bool externalReleases = false;

    static AppStreamComponent fromBytes(const QByteArray &xml);
    // The file at `path`; empty when it cannot be read.
    static AppStreamComponent fromFile(const QString &path);

    // AppStream's order of versions: digit runs compare as numbers, letters as text, and a
    // "~" sorts before anything (1.0~rc1 < 1.0). <0, 0, >0.
    static int compareVersions(const QString &a, const QString &b);
    // The newest of stableVersions by that order (lists are meant to be newest first, but not
    // every project keeps them so); empty when there is none.
    QString newestStableVersion() const;
};
