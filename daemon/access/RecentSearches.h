#pragma once

#include <QString>
#include <QStringList>

class SharedPreferences;

// The search field's recent searches, newest first, stored under "RecentSearchesStrings".
class RecentSearches
{
public:
    static const QString PreferenceKey;
    static constexpr int MaximumCount = 20;

    // The list after recording `text` (already lower-cased) in front of `previous`: trimmed to
    // the maximum first, then the first later entry equal to the text is removed.
    static QStringList recorded(const QStringList &previous, const QString &text);

    // The stored list; the strings of a list of another shape are kept, the rest is ignored.
    static QStringList read(const SharedPreferences &preferences);
    // Stores the list and synchronises the preferences at once.
    static void store(SharedPreferences &preferences, const QStringList &searches);
};
