#pragma once

#include <QString>
#include <QVariantList>

class NotificationCenter;

// "Clipboard.krvdata" as the programs that change it see it: read whole, written whole, and
// known to have been changed by another program when the file on disk is no longer the one last
// read or written here.
class ClipboardStore
{
public:
    // Sent on "KRV1_MainNotification" by a program other than the manager after it changed the
    // entries, so a running manager shows them.
    static inline const QString ChangedCommand = QStringLiteral("ClipboardChanged");

    QVariantList load();
    // False when the file could not be written (logged).
    bool save(const QVariantList &list);
    bool changedOnDisk() const;

    // A running agent rereads its data (the manager's way of telling it of a changed list).
    static void tellAgent(NotificationCenter &notifications);
    // The agent, and a running manager.
    static void tellAgentAndManager(NotificationCenter &notifications);

private:
    struct Stamp {
        bool exists = false;
        unsigned long long inode = 0;
        long long size = 0;
        long long seconds = 0;
        long nanoseconds = 0;
        bool operator==(const Stamp &) const = default;
    };
    static Stamp stampOfFile();
    Stamp mStamp;
    bool mKnown = false;
};
