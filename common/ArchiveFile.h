#pragma once

#include <QString>
#include <QVariant>

// Reading and writing one archived list or dictionary at a path. Reads never fail towards the
// caller: a missing or empty file gives an empty value; a damaged one is logged, kept aside so
// that no later save can destroy it, and gives an empty value.
namespace ArchiveFile {

QVariantList readList(const QString &path);
QVariantMap readDictionary(const QString &path);

// Logs "Unable saving data in file PATH" and returns false when nothing could be written.
bool write(const QString &path, const QVariant &value);

// Decodes a file's bytes as either kind of value; used by tools that do not know the shape.
struct Content {
    QVariant value;
    QString error; // empty when the file was read and decoded (or is missing or empty)
};
Content readAny(const QString &path);

} // namespace ArchiveFile
