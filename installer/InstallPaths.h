#pragma once

#include <QString>

// Where the script's paths land on this machine. "/Applications" stands for the folder that holds
// the installed product bundle (~/.local/opt, or /opt for root), so the installed bundle is the
// suite's install prefix; "~/Desktop" is the XDG desktop folder.
struct InstallPaths {
    QString applicationsFolder;
    QString homeFolder;
    QString desktopFolder;
    QString dataHome; // $XDG_DATA_HOME
    QString configHome; // $XDG_CONFIG_HOME
    // The installed copy of the product bundle, where "@BUNDLE@" in a copied desktop entry points.
    QString installedBundle;

    static InstallPaths forCurrentUser(const QString &bundleName);
    static QString defaultApplicationsFolder();

    // A script argument with its leading "/Applications", "~/Desktop", "$XDG_DATA_HOME",
    // "$XDG_CONFIG_HOME" or "~" replaced.
    QString expand(const QString &argument) const;

    // The version of a product bundle: the first line of its share/korvale/version file, "?"
    // when there is none; empty when the bundle itself is missing.
    static QString bundleVersion(const QString &bundlePath);
    static inline const QString VersionFile = QStringLiteral("share/korvale/version");
};
