#pragma once

#include <QVariantList>

// The lists a pass reads; copying shares them (implicit sharing).
struct SearchSources {
    QVariantList applications, files, documents, bookmarks, stocks, contacts, notes, protectedNotes,
        clipboard;
    QVariantList recentItems; // "LastItemsLaunched", newest first (menu-opened ones carry "-")
    int priorityForApplications = 0, priorityForFiles = 0, priorityForBookmarks = 0,
        priorityForAddresses = 0, priorityForNotes = 0;
};
