#pragma once

#include <QByteArray>
#include <QString>

// Whole-file replacement that a crash cannot tear: the bytes go to a temporary file in the same
// folder, are synchronised, and the temporary file is renamed over the target.
namespace AtomicFile {

// A new file is created 0600, in folders created 0700 where missing; an existing file keeps its
// permissions. A symbolic link (a dotfile kept in a synced folder) is written through: the file
// it points to is replaced and the link stays. A folder, FIFO or device in the file's place (or
// at the end of the link) is never replaced: the write fails with EISDIR or EEXIST.
// `errorNumber` gets errno of a failure, so callers can tell a full disk from a read-only one.
bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr,
           int *errorNumber = nullptr);

// Makes every write fail with `errorNumber` as if the disk said so (0 ends it): tests of what
// the programs say when a save fails, where no small file system can be mounted.
void failWritesForTesting(int errorNumber);

// Renames a file that cannot be read aside ("NAME.YYYYMMDD-HHMMSS.damaged") and returns the
// new path, or an empty string when it could not be moved. Behind a link, the file it points to
// is moved, beside itself.
QString keepAside(const QString &path);

// Keeps the file as it is under "NAME.YYYYMMDD-HHMMSS.SUFFIX" beside it (a hard link, else a copy,
// 0600) before a save replaces it, and returns that path; empty when it could not be kept.
// Unlike keepAside the file stays where it is, so a save that then fails loses nothing.
QString keepCopyAside(const QString &path, const QString &suffix);

// The file a path finally names once symbolic links are followed (the path itself when it is not
// a link); a dangling link gives where its target would be.
QString resolveLinks(const QString &path);

} // namespace AtomicFile
