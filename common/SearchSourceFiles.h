#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A search of the desktop the access window may ask: a GNOME Shell search provider
// (gnome-shell/search-providers/*.ini) or a KRunner D-Bus runner (krunner/dbusplugins/*.desktop).
struct DesktopSearchSource {
    enum class Kind { GnomeProvider, Runner };
    Kind kind = Kind::GnomeProvider;
    // "gnome/FILE" or "krunner/FILE": the file name, which the desktop also goes by (a file of
    // the user's folder hides the system's of that name). The manager's switch is kept under it.
    QString key;
    QString desktopId;
    // A runner's may end with "*": every name on the bus with that prefix.
    QString busName;
    QString objectPath;
    bool enabledByDefault = true;
    bool autoStart = true;
    // Runners only.
    int minLetterCount = 0;
    QString matchRegex;
    bool dbus2 = false;
    bool requestActionsOnce = false;
    // The application's, from its desktop entry (else the file's own Name and Icon).
    QString name;
    QString iconName;
};

namespace SearchSourceFiles {

extern const QString OurBusName;
// GNOME Shell lists applications itself, under its own name: the agent finds them already.
extern const QString ShellBusName;

// The keys of the first group of that name, values unescaped as key files have them; localised
// keys ("Name[fr]") are kept under their full name. Any bytes.
QHash<QString, QString> readGroup(const QByteArray &contents, const QString &group);
// The value in the best of the languages (gettext's order), else the untranslated one.
QString localised(const QHash<QString, QString> &keys, const QString &key,
                  const QList<QByteArray> &languages);

// Nothing when the bytes are not a provider of version 2 with a valid bus name and object path.
std::optional<DesktopSearchSource> readGnomeProvider(const QByteArray &contents);
// Nothing when the bytes are not a D-Bus runner (X-Plasma-API DBus or DBus2) with a valid
// service (a "*" only at its end) and object path.
std::optional<DesktopSearchSource> readRunner(const QByteArray &contents,
                                              const QList<QByteArray> &languages);

// Whether the access window leaves the source out whatever the switches: ours, and the shell's
// applications.
bool isSkipped(const DesktopSearchSource &source);

// Every provider and runner under the data folders, first folder first (XDG_DATA_HOME then
// XDG_DATA_DIRS when empty), ordered by name; their application's name and icon filled in.
QList<DesktopSearchSource> find(QStringList dataFolders = {});

} // namespace SearchSourceFiles
