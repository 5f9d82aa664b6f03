#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// The address books and calendars of Evolution Data Server, read through its own libraries in
// the EDS module (EdsInterface.h), and what was last read of each source, so that a change one
// source's view reports rereads that source alone. Where EDS cannot be started on the session bus
// (no org.gnome.evolution.dataserver.Sources* name there) the module is never loaded, the log
// says so once, and every answer is "none": the readers then read EDS's files as before.
// Any thread; readings are serialised.
class EdsData
{
public:
    // The process's one instance.
    static EdsData &instance();

    // Every contact of every enabled address book as vCard text; none when EDS is absent.
    std::optional<QList<QByteArray>> contactCards();
    struct Book {
        QString name; // the source's display name
        QList<QByteArray> cards;
    };
    // The same, book by book.
    std::optional<QList<Book>> contactBooks();

    struct Occurrence {
        QString title;
        QDateTime start;
    };
    // The occurrences of the enabled calendars' events in [from, to), recurrences expanded by
    // EDS; none when EDS is absent.
    std::optional<QList<Occurrence>> eventOccurrences(const QDateTime &from, const QDateTime &to);
    struct Calendar {
        QString name; // the source's display name
        QList<Occurrence> occurrences;
    };
    // The same, calendar by calendar.
    std::optional<QList<Calendar>> calendars(const QDateTime &from, const QDateTime &to);

    // Watches every source from the next reading on: `contactsChanged` or `eventsChanged` is
    // called (on the module's thread) when a view reports a change, after the source is marked
    // for rereading. Never waits: the main thread may call it. Nothing is watched when EDS is
    // absent.
    void watch(std::function<void()> contactsChanged, std::function<void()> eventsChanged);
    void stopWatching();

private:
    EdsData();
    struct Private;
    Private *d;
};
