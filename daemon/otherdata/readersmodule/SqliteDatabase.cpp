#include "ReaderLibrariesModule.h"

#include <sqlite3.h>

sqlite3 *ReaderLibrariesSqlite::open(const QByteArray &name, bool readOnly, bool uri,
                                     QString *error)
{
    sqlite3 *database = nullptr;
    const int flags =
        (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | (uri ? SQLITE_OPEN_URI : 0);
    if (sqlite3_open_v2(name.constData(), &database, flags, nullptr) == SQLITE_OK)
        return database;
    if (error)
        *error = QString::fromUtf8(database ? sqlite3_errmsg(database) : "out of memory");
    sqlite3_close_v2(database);
    return nullptr;
}

QList<QVariantList> ReaderLibrariesSqlite::rows(sqlite3 *database, const QString &sql)
{
    QList<QVariantList> rows;
    sqlite3_stmt *statement = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (!database
        || sqlite3_prepare_v2(database, utf8.constData(), int(utf8.size()), &statement, nullptr)
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

void ReaderLibrariesSqlite::close(sqlite3 *database)
{
    sqlite3_close_v2(database);
}
