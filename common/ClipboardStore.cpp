#include "ClipboardStore.h"

#include "ClipboardList.h"
#include "CommonKorvaleClass.h"
#include "platform/NotificationCenter.h"

const QString ClipboardStore::ChangedCommand = QStringLiteral("ClipboardChanged");

ClipboardStore::ClipboardStore()
    : mFile(DataFileName::Clipboard, {}, &ClipboardList::sortList)
{
}

QVariantList ClipboardStore::load()
{
    return mFile.read();
}

void ClipboardStore::refresh(QVariantList &list)
{
    mFile.refresh(list);
}

bool ClipboardStore::save(QVariantList &list)
{
    return mFile.save(list);
}

bool ClipboardStore::changedOnDisk() const
{
    return mFile.changedOnDisk();
}

void ClipboardStore::tellAgent(NotificationCenter &notifications)
{
    notifications.post(NotificationChannel::Daemon, QStringLiteral("SettingChanged"));
}

void ClipboardStore::tellAgentAndManager(NotificationCenter &notifications)
{
    tellAgent(notifications);
    notifications.post(NotificationChannel::Main, ChangedCommand);
}
