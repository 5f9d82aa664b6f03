#include "SqliteSnapshot.h"

#include "BoundedFile.h"

#include <QFile>
#include <QSet>

#include <sqlite3.h>

namespace {

bool copyTo(const QByteArray &bytes, const QString &target)
{
    QFile file(target);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

SqliteSnapshot::SqliteSnapshot(const QString &path, qint64 limit)
{
    const BoundedFile::Result database = BoundedFile::read(path, limit);
    if (!database.isRead()) {
        mError = database.reason.isEmpty() ? QStringLiteral("not found") : database.reason;
        return;
    }
    const BoundedFile::Result log = BoundedFile::read(path + QStringLiteral("-wal"), limit);
    if (log.status != BoundedFile::Status::Missing && !log.isRead()) {
        mError = log.reason;
        return;
    }
    const QString copy = mFolder.filePath(QStringLiteral("copy.sqlite"));
    if (!mFolder.isValid() || !copyTo(database.bytes, copy)
        || (log.isRead() && !copyTo(log.bytes, copy + QStringLiteral("-wal")))) {
        mError = QStringLiteral("no room for a private copy");
        return;
    }
    if (sqlite3_open_v2(QFile::encodeName(copy).constData(), &mDatabase, SQLITE_OPEN_READWRITE,
                        nullptr)
        != SQLITE_OK) {
        mError = QString::fromUtf8(mDatabase ? sqlite3_errmsg(mDatabase) : "out of memory");
        sqlite3_close_v2(mDatabase);
        mDatabase = nullptr;
    }
}

SqliteSnapshot::~SqliteSnapshot()
{
    sqlite3_close_v2(mDatabase);
}

QList<QVariantList> SqliteSnapshot::rows(const QString &sql) const
{
    QList<QVariantList> rows;
    sqlite3_stmt *statement = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (!mDatabase
        || sqlite3_prepare_v2(mDatabase, utf8.constData(), int(utf8.size()), &statement, nullptr)
            != SQLITE_OK) {
        sqlite3_finalize(statement);
        return rows;
    }
    const int columns = sqlite3_column_count(statement);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        QVariantList row;
        row.reserve(columns);
        for (int column = 0; column < columns; ++column) {
            switch (sqlite3_column_type(statement, column)) {
            case SQLITE_NULL:
                row.append(QVariant());
                break;
            case SQLITE_INTEGER:
                row.append(qint64(sqlite3_column_int64(statement, column)));
                break;
            default: {
                const auto *text =
                    reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
                row.append(QString::fromUtf8(text, sqlite3_column_bytes(statement, column)));
            }
            }
        }
        rows.append(row);
    }
    sqlite3_finalize(statement);
    return rows;
}

QStringList SqliteSnapshot::textColumn(const QString &sql) const
{
    QStringList values;
    for (const QVariantList &row : rows(sql))
        values.append(row.value(0).toString());
    return values;
}

bool SqliteSnapshot::hasColumns(const QString &table, const QStringList &columns) const
{
    QString quoted = table;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    const QStringList names =
        textColumn(QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(quoted));
    const QSet<QString> present(names.cbegin(), names.cend());
    for (const QString &column : columns) {
        if (!present.contains(column))
            return false;
    }
    return true;
}
