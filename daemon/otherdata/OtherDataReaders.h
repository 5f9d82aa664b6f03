#pragma once

#include "Favicons.h"

#include <QDateTime>
#include <QObject>
#include <QVariantList>

#include <functional>
#include <memory>

class FaviconUpdater;
class SharedPreferences;

// What the agent reads from the user's other programs at each data reload, and what it keeps of
// it: the contacts and events last read are cached in the preferences, and a reading that finds
// nothing (the address book or calendar gone, unreadable, locked) leaves the lists as they were.
class OtherDataReaders : public QObject
{
    Q_OBJECT
public:
    struct Environment {
        // Empty readers find nothing.
        std::function<QVariantList()> readBookmarks;
        std::function<QVariantList()> readContacts;
        std::function<QVariantList(const QDateTime &from, const QDateTime &to)> readEvents;
        Favicons::Fetch fetch; // empty: the web, through Qt Network
    };
    // The readers of this suite's own sources.
    static Environment standardEnvironment();

    OtherDataReaders(SharedPreferences &preferences, Environment environment,
                     QObject *parent = nullptr);
    ~OtherDataReaders() override;

    // readAddressBook: the contacts now, or `current` when none were found; stored under
    // "AddressBookItems" when there are some.
    QVariantList readAddressBook(const QVariantList &current);
    QVariantList readBookmarks();
    // readCalendarEvents: from today 0:00 to the same day of the next month; stored under
    // "CalendarItems" when there are some, `current` kept otherwise.
    QVariantList readCalendarEvents(const QVariantList &current, const QDateTime &now);
    // updateListOfFavicons; the lists are read when the run starts.
    void updateFavicons(std::function<QVariantList()> bookmarks,
                        std::function<QVariantList()> favicons);
    FaviconUpdater &faviconUpdater() { return *mFavicons; }

signals:
    // saveFavicons: the list was adopted and written to "URLFavicons.krvdata".
    void faviconsSaved(const QVariantList &favicons);

private:
    QVariantList keepUnlessEmpty(const QString &cacheKey, QVariantList read,
                                 const QVariantList &current);

    SharedPreferences &mPreferences;
    Environment mEnvironment;
    std::unique_ptr<FaviconUpdater> mFavicons;
};
