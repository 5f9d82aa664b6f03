#pragma once

// Thunderbird's stores as it leaves them while it runs: WAL mode, the newest writes still in the
// log, the connection open. Made with SQLite from Thunderbird's documented tables.
#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace ThunderbirdProfile {

inline void exec(sqlite3 *db, const QByteArray &sql)
{
    char *error = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error), SQLITE_OK)
        << (error ? error : "") << " in " << sql.constData();
}

inline sqlite3 *openInWalMode(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    sqlite3 *db = nullptr;
    EXPECT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    exec(db, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;");
    return db;
}

inline QByteArray micros(const QDateTime &time)
{
    return QByteArray::number(time.toMSecsSinceEpoch() * 1000);
}

inline void createCalendar(sqlite3 *db, int schema)
{
    exec(db,
         "CREATE TABLE cal_calendar_schema_version (version INTEGER);"
         "INSERT INTO cal_calendar_schema_version VALUES ("
             + QByteArray::number(schema)
             + ");"
               "CREATE TABLE cal_events (cal_id TEXT, id TEXT, time_created INTEGER,"
               " last_modified INTEGER, title TEXT, priority INTEGER, privacy TEXT,"
               " ical_status TEXT, flags INTEGER, event_start INTEGER, event_start_tz TEXT,"
               " event_end INTEGER, event_end_tz TEXT, event_stamp INTEGER, recurrence_id INTEGER,"
               " recurrence_id_tz TEXT, alarm_last_ack INTEGER, offline_journal INTEGER);"
               "CREATE TABLE cal_recurrence (item_id TEXT, cal_id TEXT, icalString TEXT);");
}

inline void addEvent(sqlite3 *db, const QByteArray &id, const QByteArray &title,
                     const QDateTime &start, const QByteArray &zone, int flags = 0,
                     const QByteArray &status = "NULL", const QByteArray &recurrenceId = "NULL")
{
    exec(db,
         "INSERT INTO cal_events (cal_id, id, title, ical_status, flags, event_start,"
         " event_start_tz, event_end, event_end_tz, recurrence_id, recurrence_id_tz) VALUES"
         " ('c1', '"
             + id + "', '" + title + "', " + status + ", " + QByteArray::number(flags) + ", "
             + micros(start) + ", '" + zone + "', " + micros(start.addSecs(3600)) + ", '" + zone
             + "', " + recurrenceId + ", '" + zone + "');");
}

// A profile folder "<random>.<name>" under `root`, listed in the root's profiles.ini.
inline QString makeProfile(const QString &root, const QString &name)
{
    const QString folder = QStringLiteral("x1y2.") + name;
    QDir().mkpath(root + QLatin1Char('/') + folder);
    QFile ini(root + QStringLiteral("/profiles.ini"));
    EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Profile0]\nName=" + name.toUtf8() + "\nIsRelative=1\nPath=" + folder.toUtf8()
              + "\n");
    return root + QLatin1Char('/') + folder;
}

} // namespace ThunderbirdProfile
