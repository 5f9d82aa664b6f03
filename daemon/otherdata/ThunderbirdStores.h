#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

// Thunderbird's address books and calendars, read from copies of its SQLite stores (it keeps
// them open in WAL mode while it runs). Cards become vCards for the suite's vCard reader, events
// iCalendar text for its calendar reader, so both follow the same rules as every other source.
namespace ThunderbirdStores {

// The calendar schema versions whose tables are known; another is skipped and said once.
inline constexpr int OldestCalendarSchema = 16;
inline constexpr int NewestCalendarSchema = 23;

// "abook.sqlite" and "abook-N.sqlite" of each profile.
QStringList addressBooks(const QStringList &profiles);
// "calendar-data/local.sqlite" (the local calendars) and "cache.sqlite" (offline copies of the
// remote ones) of each profile.
QStringList calendars(const QStringList &profiles);

// One vCard per card of an address book; empty (and said once) when it cannot be read.
QList<QByteArray> vCardsInAddressBook(const QString &path);
// The events of a calendar store as one iCalendar text; empty when it cannot be read.
QByteArray calendarText(const QString &path);

// Pieces for tests and fuzzing.
using Properties = QList<QPair<QString, QString>>;
// A card's whole vCard ("_vCard", since Thunderbird 102), else one made of its older fields.
QByteArray vCardOf(const Properties &properties);
struct EventRow {
    QString id;
    QString title;
    QString status; // "CANCELLED" and the like
    qint64 start = 0; // microseconds since 1970, UTC
    QString startZone; // an IANA name, "UTC" or "floating"
    qint64 end = 0;
    QString endZone;
    qint64 flags = 0;
    std::optional<qint64> recurrenceId; // an exception to a repeating event
    QString recurrenceZone;
    QStringList recurrence; // "RRULE:…", "EXDATE:…" lines
};
inline constexpr qint64 AllDayFlag = 8;
QByteArray vEventOf(const EventRow &row);

} // namespace ThunderbirdStores
