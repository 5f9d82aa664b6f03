#pragma once

#include "BoundedFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Where the readers find other programs' files: the XDG data folder, the paths the user adds in
// the preferences, and the files of a folder tree.
namespace OtherDataSources {

// The whole file when it is a regular file of at most `limit` bytes (BoundedFile::Limit), read
// with as few system calls as will do (a vCard folder holds a file per contact); none, and one
// log line, when it is not (a FIFO, a device, a larger file) or cannot be read.
std::optional<QByteArray> readFile(const QString &path, qint64 limit);

// $XDG_DATA_HOME, else ~/.local/share.
QString dataHome();

// The paths listed in a preference (a list of strings, or one string), "~" expanded; empty
// entries left out.
QStringList preferencePaths(const QString &key);

// Every file named, and every file under the folders named (recursively, symbolic links to
// folders not followed, hidden ones left out) whose suffix is one of `suffixes` (any case) or
// that begins with `signature` (any case, after white space): stores keep files under names of
// their own. In name order within each folder.
QStringList filesIn(const QStringList &paths, const QStringList &suffixes,
                    const QByteArray &signature);

} // namespace OtherDataSources
