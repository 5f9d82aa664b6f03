#include "SqliteSnapshot.h"

#include "BoundedFile.h"
#include "ReaderLibraries.h"
#include "ReaderLibrariesInterface.h"

#include <QFile>
#include <QSet>

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
    mLibraries = ReaderLibraries::functions();
    if (!mLibraries) {
        mError = QStringLiteral("SQLite is not available");
        return;
    }
    mDatabase = mLibraries->openDatabase(QFile::encodeName(copy), false, false, &mError);
}

SqliteSnapshot::~SqliteSnapshot()
{
    if (mDatabase)
        mLibraries->closeDatabase(mDatabase);
}

QList<QVariantList> SqliteSnapshot::rows(const QString &sql) const
{
    return mDatabase ? mLibraries->rows(mDatabase, sql) : QList<QVariantList>();
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
