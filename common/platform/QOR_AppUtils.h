#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A program started when the user logs in.
struct LoginItem {
    QString path; // the program's path (a bare Exec name is looked up in PATH)
    QString bundleName; // its last path element
    QString entryPath; // the autostart entry that starts it
    bool writtenByKorvale = false;

    bool operator==(const LoginItem &) const = default;
};

// The manager's dealings with the session: the login items (the user's XDG autostart entries,
// see AutostartEntry) and other copies of the agent already running.
class QOR_AppUtils
{
public:
    QOR_AppUtils() = delete;

    // Every enabled entry whose program exists, in entry file-name order.
    static QList<LoginItem> loginItems();
    // Some login item starts exactly this path.
    static bool isInLoginItems(const QString &path);
    // The paths of the login items with the same file name as path but another path.
    static QStringList extraOccurencesInLoginItems(const QString &path);

    // Writes the suite's entry for path unless it already is a login item; true when written.
    // An entry of the same name that the suite did not write is left alone (false). Nothing
    // hides a program started at login on the Linux desktop, so hideOnLaunch has no effect.
    static bool addToLoginItems(const QString &path, bool hideOnLaunch);
    // Deletes the first entry the suite wrote for path; other entries starting it stay.
    static void removeFromLoginItems(const QString &path);
    // An entry the suite wrote for path under the name older versions gave it takes today's
    // name, with what it starts and whether it is on; an entry already of today's name stays
    // and the older one goes. Entries the suite did not write are left alone.
    static void renameOlderEntry(const QString &path);

    // The folder of another copy of the suite when the agent running in this session runs from
    // runningExecutable rather than from agentPath: the folder holding that copy's bin/. Empty
    // when it is this copy's agent, or when its executable is not known.
    static QString otherCopyOfAgent(const QString &agentPath, const QString &runningExecutable);
};
