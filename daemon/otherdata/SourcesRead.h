#pragma once

#include <QList>
#include <QString>
#include <QVariantList>

// What the last readings of contacts and calendar events read, source by source: where each
// source is, the name the user knows it by and how many records it gave. Never a record's
// content: this is what the agent tells the manager on the bus (OtherDataBus).
class SourcesRead
{
public:
    SourcesRead() = delete;

    enum class Kind { Contacts, Calendar };
    enum class Origin {
        Eds, // through Evolution Data Server's libraries
        EdsFiles, // its stores, read where it does not run
        Thunderbird,
        Kde, // KDE's vCard and iCalendar folders
        User, // a file or folder named in the preferences
    };
    struct Source {
        Kind kind = Kind::Contacts;
        Origin origin = Origin::User;
        QString name;
        int count = 0;
        bool operator==(const Source &) const = default;
    };

    // Replaces what the last reading of that kind found. Any thread.
    static void replace(Kind kind, const QList<Source> &sources);
    // Contacts first, then calendars, each in reading order. Any thread.
    static QList<Source> all();

    // As the bus carries them: one map per source, "kind" ("contacts", "calendar"), "origin"
    // ("eds", "edsFiles", "thunderbird", "kde", "user"), "name" and "count".
    static QVariantList toVariantList(const QList<Source> &sources);

    // A path as the user writes it: the home folder as "~".
    static QString displayPath(const QString &path);
    // A Thunderbird store by its profile and file: "default-release · abook.sqlite".
    static QString thunderbirdName(const QString &store);
};
