#pragma once

#include "platform/MountTable.h"

#include <QList>
#include <QString>

// Whether opening a file or folder item starts it or hands it to its default application. Only
// what really is a program is started: an application desktop entry, a ".app" folder, or an
// executable file that is an ELF program or a "#!" script, on a file system that keeps
// permissions. A document on a USB stick or a network share, whose mount marks every file
// executable, is opened instead of run.
namespace LaunchableItems {

bool isProgram(const QString &path, const QList<MountTable::Mount> &mounts);

} // namespace LaunchableItems
