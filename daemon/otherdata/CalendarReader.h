#pragma once

#include "SourcesRead.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantList>

// Reads the events of the user's calendars (GNOME's Evolution Data Server through its own
// libraries where it runs, else its iCalendar files; KDE's calendar folder, the files or folders
// in the preference "OtherDataCalendarPaths", and Thunderbird's calendars) through libical,
// recurring events expanded in their own time zones. Only reads; see docs/otherdata.md.
class CalendarReader
{
public:
    CalendarReader() = delete;

    static const QString CalendarPathsPreference;

    // No rule yields more occurrences than this in one range, nor is followed further than
    // RuleStepLimit steps: a rule written to run every second stops there.
    static constexpr int OccurrenceLimit = 1000;
    static constexpr int RuleStepLimit = 50000;
    // A reading keeps the earliest EventLimit occurrences of all events together.
    static constexpr int EventLimit = 5000;
    // Wall-clock budgets: the rules of one event, and a whole reading. An event cut, and a
    // reading stopped, are said in the log.
    static constexpr int EventBudgetMs = 200;
    static constexpr int ReadingBudgetMs = 5000;

    // One event record per occurrence of a titled event whose start lies in [from, to), the
    // start in local time, in date order, at most EventLimit; the sources read are told to
    // SourcesRead. Any thread; a reading on a thread asked to stop (QThread::
    // requestInterruption) ends at the next event.
    static QVariantList readEvents(const QDateTime &from, const QDateTime &to);

    // An occurrence found by another program's own expansion (Evolution Data Server's).
    struct Occurrence {
        QString title;
        QDateTime start;
    };
    // One source of a reading: iCalendar files, a Thunderbird store, or the occurrences another
    // program found.
    struct Source {
        SourcesRead::Origin origin = SourcesRead::Origin::User;
        QString name;
        QStringList files;
        QString thunderbirdStore;
        QList<Occurrence> occurrences;
    };
    // Evolution Data Server's calendars through its libraries when it runs, else its files;
    // KDE's folder, each path of the preference, then Thunderbird's stores; the paths without a
    // calendar file left out.
    static QList<Source> defaultSources(const QDateTime &from, const QDateTime &to);
    // The events of the sources, in that order; `found` gets each source with the occurrences it
    // added to the range.
    static QVariantList eventsInSources(const QList<Source> &sources, const QDateTime &from,
                                        const QDateTime &to,
                                        QList<SourcesRead::Source> *found = nullptr);
    // The events of the files, then of Thunderbird's calendar stores, then those given.
    static QVariantList eventsInFiles(const QStringList &files, const QDateTime &from,
                                      const QDateTime &to,
                                      const QStringList &thunderbirdStores = {},
                                      const QList<Occurrence> &more = {});
    // The events of one iCalendar file's bytes, not sorted.
    static QVariantList eventsInCalendar(const QByteArray &bytes, const QDateTime &from,
                                         const QDateTime &to);
};
