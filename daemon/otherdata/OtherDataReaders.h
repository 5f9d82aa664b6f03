#pragma once

#include "Favicons.h"

#include <QDateTime>
#include <QObject>
#include <QVariantList>

#include <functional>
#include <memory>

class FaviconUpdater;

// What the agent reads from the user's other programs at each data reload, bounded, and what it
// keeps of it: the contacts and events last read are cached in data files of their own
// ("AddressBookItems.krvdata", "CalendarItems.krvdata"), and a reading that finds nothing (the
// address book or calendar gone, unreadable, locked) leaves the lists as they were.
class OtherDataReaders : public QObject
{
    Q_OBJECT
public:
    struct Environment {
        // Empty readers find nothing.
        std::function<QVariantList()> readBookmarks;
        std::function<QVariantList()> readContacts;
        std::function<QVariantList(const QDateTime &from, const QDateTime &to)> readEvents;
        Favicons::Fetch fetch; // empty: the web, through the web module
    };
    // The readers of this suite's own sources.
    static Environment standardEnvironment();

    // No reading keeps more than these (the calendar reader has its own, CalendarReader::
    // EventLimit); the rest is left out, and the log says so.
    static constexpr int ContactLimit = 50000;
    static constexpr int BookmarkLimit = 100000;

    explicit OtherDataReaders(Environment environment, QObject *parent = nullptr);
    ~OtherDataReaders() override;

    // The three readings run on any thread, one at a time. Each gives what was found; an empty
    // answer means "keep the list you have".
    // readAddressBook: stored in "AddressBookItems.krvdata" when there are some.
    QVariantList readAddressBook();
    QVariantList readBookmarks();
    // readCalendarEvents: from today 0:00 to the same day of the next month; stored in
    // "CalendarItems.krvdata" when there are some.
    QVariantList readCalendarEvents(const QDateTime &now);

    // The same readings as functions holding all they need, for a thread that may outlive this
    // object (a reader still busy when the agent quits).
    using Reading = std::function<QVariantList()>;
    Reading addressBookReading() const;
    Reading bookmarksReading() const;
    Reading calendarReading(const QDateTime &now) const;

    // Main thread. updateListOfFavicons; the lists are read when the run starts.
    void updateFavicons(std::function<QVariantList()> bookmarks,
                        std::function<QVariantList()> favicons);
    FaviconUpdater &faviconUpdater() { return *mFavicons; }

signals:
    // saveFavicons: the list was adopted and written to "URLFavicons.krvdata".
    void faviconsSaved(const QVariantList &favicons);

private:
    struct Sources;

    std::shared_ptr<Sources> mSources;
    std::unique_ptr<FaviconUpdater> mFavicons;
};
