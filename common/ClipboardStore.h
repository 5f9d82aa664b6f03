#pragma once

#include "ListFile.h"

#include <QString>
#include <QVariantList>

class NotificationCenter;

// "Clipboard.krvdata" as the programs that change it see it: read whole, written whole merged
// with what another program saved meanwhile (ListFile; an entry has no identity but its value),
// and known to have been changed by another program when the file on disk is no longer the one
// last read or written here.
class ClipboardStore
{
public:
    // Sent on "KRV1_MainNotification" by a program other than the manager after it changed the
    // entries, so a running manager shows them.
    static const QString ChangedCommand;

    ClipboardStore();

    QVariantList load();
    // load(), keeping a change whose save failed (ListFile::refresh).
    void refresh(QVariantList &list);
    // False when the file could not be written (logged). `list` becomes the sorted list written.
    bool save(QVariantList &list);
    bool changedOnDisk() const;
    const SaveFailure &lastFailure() const { return mFile.lastFailure(); }

    // A running agent rereads its data (the manager's way of telling it of a changed list).
    static void tellAgent(NotificationCenter &notifications);
    // The agent, and a running manager.
    static void tellAgentAndManager(NotificationCenter &notifications);

private:
    ListFile mFile;
};
