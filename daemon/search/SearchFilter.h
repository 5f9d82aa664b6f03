#pragma once

#include "SearchSources.h"

#include <QList>
#include <QString>

struct SearchFilterEntry {
    int value;
    QString titleKey;
    QString key;
};

// The type filter: which lists each value searches, in which order, with which priority.
class SearchFilter
{
public:
    enum Source {
        Applications,
        Files,
        Documents,
        Bookmarks,
        Stocks,
        Contacts,
        Notes,
        ProtectedNotes,
        Clipboard,
        MenuOpened, // the records of the recent items that carry "-"
        SourceCount
    };

    // The filter menu's entries in menu order.
    static QList<SearchFilterEntry> menuEntries();
    // Whether the filter button with this tag shows its "on" image under the filter value.
    static bool includes(int value, int buttonTag);
    // The lists a filter value searches, in search order; an unknown value searches nothing.
    static QList<Source> sources(int value);
    static int priority(Source source, const SearchSources &sources);
    static const QVariantList &list(Source source, const SearchSources &sources);
};
