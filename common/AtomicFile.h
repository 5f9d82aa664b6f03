#pragma once

#include <QByteArray>
#include <QString>

// Whole-file replacement that a crash cannot tear: the bytes go to a temporary file in the same
// folder, are synchronised, and the temporary file is renamed over the target.
namespace AtomicFile {

// A new file is created 0600; an existing file keeps its permissions.
bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Renames a file that cannot be read aside ("NAME.YYYYMMDD-HHMMSS.damaged") and returns the
// new path, or an empty string when it could not be moved.
QString keepAside(const QString &path);

} // namespace AtomicFile
