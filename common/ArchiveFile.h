#pragma once

#include "SaveFailure.h"

#include <QString>
#include <QVariant>

#include <optional>

// Reading and writing one archived list or dictionary at a path. Reads never fail towards the
// caller: a missing or empty file gives an empty value; a damaged one is logged, kept aside so
// that no later save can destroy it, and gives an empty value.
namespace ArchiveFile {

// The bytes of one of the suite's own files, read as every file is (BoundedFile): a regular file
// only, never blocking, within the size limit of its kind (sizeLimitFor).
struct Raw {
    QByteArray bytes;
    // Empty when the file was read or is missing.
    QString error;
    QString errorName; // "NotRegularFile", "FileTooLarge", "FileReadError"
    bool notRegular = false; // a folder, FIFO or device in its place: never read, never replaced
};
Raw readBytes(const QString &path);
qint64 sizeLimitFor(const QString &path);

// A list file's bytes decoded, at most BoundedFile::Limit::ListRecords records: a list of more is
// cut there, said in the log, and the whole file kept beside itself ("NAME.DATE.cut") so the
// save that follows loses nothing. nullopt when the bytes are not a list.
std::optional<QVariantList> decodeList(const QString &path, const QByteArray &bytes);

// Logs a file that could not be read and, unless it is not a regular file, keeps it aside so
// that no save can destroy what nobody loaded.
void reportUnreadable(const QString &path, const QString &name, const QString &reason);

QVariantList readList(const QString &path);
QVariantMap readDictionary(const QString &path);

// Writes under the save lock. Logs "Unable saving data in file PATH" and returns false when
// nothing could be written; `failure` then says why.
bool write(const QString &path, const QVariant &value, SaveFailure *failure = nullptr);

// Decodes a file's bytes as either kind of value; used by tools that do not know the shape.
struct Content {
    QVariant value;
    QString error; // empty when the file was read and decoded (or is missing or empty)
};
Content readAny(const QString &path);

} // namespace ArchiveFile
