#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

struct ReaderLibraryFunctions;
struct sqlite3;

// A copy of another program's SQLite database and of its write-ahead log, opened in a private
// temporary folder. A program that holds its database open in WAL mode keeps its newest writes
// in the log: read in place without a lock they would be missed (immutable) or SQLite would
// make or change the "-shm" beside it. The copies are read through the bounded read, and the
// folder goes with the snapshot. SQLite itself is in the readers module (ReaderLibraries).
class SqliteSnapshot
{
public:
    SqliteSnapshot(const QString &path, qint64 limit);
    ~SqliteSnapshot();
    SqliteSnapshot(const SqliteSnapshot &) = delete;
    SqliteSnapshot &operator=(const SqliteSnapshot &) = delete;

    sqlite3 *database() const { return mDatabase; }
    // Why there is no database, for one log line; empty when it opened.
    QString error() const { return mError; }

    // Each row's values: null, a 64-bit integer or text (an empty list on any error).
    QList<QVariantList> rows(const QString &sql) const;
    // The first column of each row as text.
    QStringList textColumn(const QString &sql) const;
    // Whether `table` has every one of `columns`.
    bool hasColumns(const QString &table, const QStringList &columns) const;

private:
    QTemporaryDir mFolder;
    const ReaderLibraryFunctions *mLibraries = nullptr;
    sqlite3 *mDatabase = nullptr;
    QString mError;
};
