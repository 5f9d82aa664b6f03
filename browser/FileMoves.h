#pragma once

#include <QString>

// Renaming in place without ever replacing what is already at the new name.
namespace FileMoves {

enum class Result { Moved, TargetExists, Failed };

// renameat2 with RENAME_NOREPLACE; where the file system lacks it, a hard link and an unlink
// for files, and for folders a rename after checking that nothing is there. `error` gets the
// system's reason when the move failed.
Result moveWithoutReplacing(const QString &from, const QString &to, QString *error = nullptr);

// Whether anything (a dangling link too) is at the path.
bool somethingAt(const QString &path);

} // namespace FileMoves
