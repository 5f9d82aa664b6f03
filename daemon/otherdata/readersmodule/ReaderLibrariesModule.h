#pragma once

#include "ReaderLibrariesInterface.h"

// The module's parts, one per library; ReadersModule.cpp gathers them in the table.
namespace ReaderLibrariesCalendar {
void addOccurrences(const QByteArray &bytes, CalendarRange &range,
                    QList<CalendarOccurrence> &found);
}

namespace ReaderLibrariesSqlite {
sqlite3 *open(const QByteArray &name, bool readOnly, bool uri, QString *error);
QList<QVariantList> rows(sqlite3 *database, const QString &sql);
void close(sqlite3 *database);
} // namespace ReaderLibrariesSqlite

namespace ReaderLibrariesPlist {
QList<Bookmark> safariBookmarks(const QByteArray &bytes, int maximumDepth);
}
