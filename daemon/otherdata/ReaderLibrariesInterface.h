#pragma once

#include "BrowserBookmarks.h"
#include "CalendarReader.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QList>
#include <QString>
#include <QStringView>
#include <QVariantList>

#include <algorithm>
#include <compare>
#include <cstdint>

struct sqlite3;

// What the readers module (libkorvale-readers.so) offers the readers of other programs' files:
// libical for calendars, SQLite for Thunderbird's and Evolution's stores, libplist for Safari's
// bookmarks. ReaderLibraries loads it at the first reading that needs one of them, so that an
// agent whose user keeps no such file never maps the three libraries. Built with the programs,
// from the same sources: C++ types cross. The module holds none of the agent's state: what it
// logs and how titles are ordered come from the caller.

// One occurrence found: its start and the event's title.
struct CalendarOccurrence {
    qint64 startMs = 0;
    QString title;
};

// One reading of every calendar over a range of time: the range, worked out once for every
// event, and what bounds the reading as a whole.
struct CalendarRange {
    CalendarRange(const QDateTime &from, const QDateTime &to)
        : from(from)
        , fromMs(from.toMSecsSinceEpoch())
        , toMs(to.toMSecsSinceEpoch())
        ,
        // Zone offsets stay within a day either way: wall clocks beyond this window need no
        // conversion to be known outside the range.
        firstDay(from.toLocalTime().date().addDays(-2))
        , lastDay(to.toLocalTime().date().addDays(2))
        , horizonMs(toMs - 1)
        , deadline(CalendarReader::ReadingBudgetMs)
    {
    }
    QDateTime from;
    qint64 fromMs;
    qint64 toMs;
    QDate firstDay;
    QDate lastDay;
    // The latest start still wanted: it moves back once the reading holds more than its limit of
    // earlier events.
    qint64 horizonMs;
    QDeadlineTimer deadline;
    // The reading ran out of time (or was asked to stop) before this event.
    QString stoppedAt;
    // The agent's: a line said once for as long as it runs, and the order of titles.
    void (*reportOnce)(const QString &line) = nullptr;
    std::weak_ordering (*compareTitles)(QStringView a, QStringView b) = nullptr;
};

namespace CalendarOccurrences {

// Date order, on the instants found rather than on local dates, each of which would ask the C
// library for the zone at every comparison; titles in the agent's order at the same instant.
inline bool earlier(const CalendarRange &range, const CalendarOccurrence &a,
                    const CalendarOccurrence &b)
{
    if (a.startMs != b.startMs)
        return a.startMs < b.startMs;
    return range.compareTitles(QStringView(a.title), QStringView(b.title)) < 0;
}

// Only the earliest events of a reading are kept: past twice the limit, the later ones go, and
// so does every occurrence after the last one kept.
inline void keepEarliest(QList<CalendarOccurrence> &found, CalendarRange &range)
{
    if (found.size() <= 2 * CalendarReader::EventLimit)
        return;
    const auto order = [&range](const CalendarOccurrence &a, const CalendarOccurrence &b) {
        return earlier(range, a, b);
    };
    std::nth_element(found.begin(), found.begin() + CalendarReader::EventLimit - 1, found.end(),
                     order);
    range.horizonMs = found.at(CalendarReader::EventLimit - 1).startMs;
    found.erase(std::remove_if(
                    found.begin(), found.end(),
                    [&range](const CalendarOccurrence &f) { return f.startMs > range.horizonMs; }),
                found.end());
}

} // namespace CalendarOccurrences

struct ReaderLibraryFunctions {
    // KORVALE_READERS_VERSION of the build that made the module: another layout is refused.
    uint32_t version;

    // libical: the occurrences in the range of the events of one iCalendar text, added to
    // `found`; a text that does not parse adds none.
    void (*addCalendarOccurrences)(const QByteArray &bytes, CalendarRange &range,
                                   QList<CalendarOccurrence> &found);

    // SQLite: `name` is a path, or a "file:" URI when `uri`. Null, with `error` said, when it
    // does not open.
    sqlite3 *(*openDatabase)(const QByteArray &name, bool readOnly, bool uri, QString *error);
    // Each row's values: null, a 64-bit integer or text (an empty list on any error).
    QList<QVariantList> (*rows)(sqlite3 *database, const QString &sql);
    void (*closeDatabase)(sqlite3 *database);

    // libplist: the bookmarks of a property list in any of its formats, "Children" walked depth
    // first to `maximumDepth`; a bookmark's title is the "title" of its "URIDictionary", else
    // its address.
    QList<Bookmark> (*safariBookmarks)(const QByteArray &bytes, int maximumDepth);
};

#define KORVALE_READERS_MODULE_FILE "libkorvale-readers.so"
#define KORVALE_READERS_MODULE_ENTRY "korvaleReadersModule"
#define KORVALE_READERS_VERSION 1u

// The one symbol the module exports; also linked into the programs that read without it.
extern "C" __attribute__((visibility("default"))) const ReaderLibraryFunctions *
korvaleReadersModule();
