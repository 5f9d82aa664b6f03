#include "ClipboardStore.h"

#include "ArchiveFile.h"
#include "CommonKorvaleClass.h"
#include "platform/NotificationCenter.h"

#include <QFile>

#include <sys/stat.h>

ClipboardStore::Stamp ClipboardStore::stampOfFile()
{
    const QByteArray path = QFile::encodeName(
        CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::Clipboard));
    struct stat info {
    };
    if (::stat(path.constData(), &info) != 0)
        return {};
    // Every save replaces the file by a rename, so the inode tells a new file even within the
    // file system's time resolution.
    return {true, static_cast<unsigned long long>(info.st_ino),
            static_cast<long long>(info.st_size), static_cast<long long>(info.st_mtim.tv_sec),
            info.st_mtim.tv_nsec};
}

QVariantList ClipboardStore::load()
{
    mStamp = stampOfFile();
    mKnown = true;
    return CommonKorvaleClass::readListInFile(DataFileName::Clipboard);
}

bool ClipboardStore::save(const QVariantList &list)
{
    const bool written = ArchiveFile::write(
        CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::Clipboard),
        list);
    mStamp = stampOfFile();
    mKnown = true;
    return written;
}

bool ClipboardStore::changedOnDisk() const
{
    return !mKnown || !(stampOfFile() == mStamp);
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
