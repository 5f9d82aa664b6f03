#pragma once

// Thunderbird's profile stores as it leaves them while it runs (WAL mode, no automatic
// checkpoint, so the newest writes stay in the log), made with SQLite from its documented
// tables. For the tests and the benchmarks alike.
#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <string>

namespace ThunderbirdProfileSupport {

// False, with SQLite's message in `error`, when a statement fails.
inline bool exec(sqlite3 *db, const QByteArray &sql, std::string *error = nullptr)
{
    char *message = nullptr;
    const bool done = sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message) == SQLITE_OK;
    if (!done && error)
        *error = std::string(message ? message : "") + " in " + sql.left(200).toStdString();
    sqlite3_free(message);
    return done;
}

// Null when the database cannot be opened.
inline sqlite3 *openInWalMode(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    sqlite3 *db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK
        || !exec(db, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;")) {
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

// A profile folder named in `root`'s "profiles.ini", as Thunderbird makes its first one.
inline QString makeProfile(const QString &root, const QString &name)
{
    const QString profile = root + QLatin1Char('/') + name;
    QDir().mkpath(profile);
    QFile ini(root + QStringLiteral("/profiles.ini"));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[Profile0]\nName=default-release\nIsRelative=1\nPath=" + name.toUtf8() + "\n");
    return profile;
}

// Thunderbird's times: microseconds since 1970.
inline QByteArray micros(const QDateTime &time)
{
    return QByteArray::number(time.toMSecsSinceEpoch() * 1000);
}

inline QByteArray quoted(const QByteArray &text)
{
    return "'" + QByteArray(text).replace('\'', "''") + "'";
}

inline bool createAddressBook(sqlite3 *db, std::string *error = nullptr)
{
    return exec(db, "CREATE TABLE properties (card TEXT, name TEXT, value TEXT);", error);
}

inline bool createCalendar(sqlite3 *db, int schema, std::string *error = nullptr)
{
    return exec(db,
                "CREATE TABLE cal_calendar_schema_version (version INTEGER);"
                "INSERT INTO cal_calendar_schema_version VALUES ("
                    + QByteArray::number(schema)
                    + ");"
                      "CREATE TABLE cal_events (cal_id TEXT, id TEXT, time_created INTEGER,"
                      " last_modified INTEGER, title TEXT, priority INTEGER, privacy TEXT,"
                      " ical_status TEXT, flags INTEGER, event_start INTEGER, event_start_tz TEXT,"
                      " event_end INTEGER, event_end_tz TEXT, event_stamp INTEGER,"
                      " recurrence_id INTEGER, recurrence_id_tz TEXT, alarm_last_ack INTEGER,"
                      " offline_journal INTEGER);"
                      "CREATE TABLE cal_recurrence (item_id TEXT, cal_id TEXT, icalString TEXT);",
                error);
}

// An hour-long event; `status` and `recurrenceId` are SQL values ("NULL", "'CANCELLED'").
inline bool addEvent(sqlite3 *db, const QByteArray &id, const QByteArray &title,
                     const QDateTime &start, const QByteArray &zone, int flags = 0,
                     const QByteArray &status = "NULL", const QByteArray &recurrenceId = "NULL",
                     std::string *error = nullptr)
{
    return exec(db,
                "INSERT INTO cal_events (cal_id, id, title, ical_status, flags, event_start,"
                " event_start_tz, event_end, event_end_tz, recurrence_id, recurrence_id_tz) VALUES"
                " ('c1', "
                    + quoted(id) + ", " + quoted(title) + ", " + status + ", "
                    + QByteArray::number(flags) + ", " + micros(start) + ", " + quoted(zone) + ", "
                    + micros(start.addSecs(3600)) + ", " + quoted(zone) + ", " + recurrenceId + ", "
                    + quoted(zone) + ");",
                error);
}

// The rule and exception lines of a repeating event, one row each as Thunderbird keeps them.
inline bool addRecurrence(sqlite3 *db, const QByteArray &id, const QByteArray &line,
                          std::string *error = nullptr)
{
    return exec(
        db, "INSERT INTO cal_recurrence VALUES (" + quoted(id) + ", 'c1', " + quoted(line) + ");",
        error);
}

} // namespace ThunderbirdProfileSupport
