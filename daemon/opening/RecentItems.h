#pragma once

#include <QString>
#include <QVariantList>
#include <QVariantMap>

// The recent-items list "LastItemsLaunched": the records opened last, newest first, free of
// duplicates by the record identity rule, at most MaximumCount entries.
class RecentItems
{
public:
    RecentItems() = delete;

    static constexpr int MaximumCount = 100;
    static const QString PreferenceKey;

    // Whether opening `opened` replaces `entry`: same kind and, for notes and contacts, the same
    // title or else the same text; for file-system kinds the same path; for bookmarks the same
    // address. Other kinds never replace an entry.
    static bool isSameEntry(const QVariantMap &entry, const QVariantMap &opened);

    // The record as the list keeps it: without the search engine's ranking annotations.
    static QVariantMap entryFor(const QVariantMap &record);

    // Removes every entry naming the same item and puts the record's entry at the front. A
    // protected note is never recorded (neither its text nor its title may leave the encrypted
    // file), and entries of protected notes already in the list are dropped.
    static void insert(QVariantList &list, const QVariantMap &record);
    // Drops the oldest entries beyond MaximumCount.
    static void trim(QVariantList &list);

    // The entries made from floating-menu folder entries (they carry "-").
    static QVariantList menuOpenedSubset(const QVariantList &list);

    // The record for a path chosen in a floating menu's folder listing: kind 1 for application,
    // preference-pane and plug-in bundles (folders named *.app, *.prefPane, *.plugin in any
    // case), kind 2 for everything else; no title.
    static QVariantMap menuOpenedRecord(const QString &path);
};
