#include "SearchFilter.h"

#include "QOR_StringUtils.h"

QList<SearchFilterEntry> SearchFilter::menuEntries()
{
    // In the order of the window's buttons, so the n-th button answers Ctrl+n: the protected
    // notes (value 6) before the clipboard (value 9).
    return {{0, KORVALE_KEY("PopupTypeAll"), QStringLiteral("0")},
            {1, KORVALE_KEY("PopupTypeApplications"), QStringLiteral("1")},
            {2, KORVALE_KEY("PopupTypeFiles"), QStringLiteral("2")},
            {3, KORVALE_KEY("PopupTypeBookmarks"), QStringLiteral("3")},
            {4, KORVALE_KEY("PopupTypeAddressBook"), QStringLiteral("4")},
            {5, KORVALE_KEY("PopupTypeNotes"), QStringLiteral("5")},
            {6, KORVALE_KEY("PopupTypeProtectedNotes"), QStringLiteral("6")},
            {9, KORVALE_KEY("PopupTypeClipboard"), QStringLiteral("7")}};
}

bool SearchFilter::includes(int value, int buttonTag)
{
    if (buttonTag == 6)
        return value == 6;
    const bool listButton = (buttonTag >= 1 && buttonTag <= 5) || buttonTag == 9;
    return listButton && (value == buttonTag || value == 0);
}

QList<SearchFilter::Source> SearchFilter::sources(int value)
{
    switch (value) {
    case 0:
        return {Applications, Files, Documents, Bookmarks, Stocks,
                Contacts,     Notes, Clipboard, MenuOpened};
    case 1:
        return {Applications};
    case 2:
        return {Files, Documents, MenuOpened};
    case 3:
        return {Bookmarks, Stocks};
    case 4:
        return {Contacts};
    case 5:
        return {Notes};
    case 6:
        return {ProtectedNotes};
    case 9:
        return {Clipboard};
    default:
        return {};
    }
}

int SearchFilter::priority(Source source, const SearchSources &s)
{
    switch (source) {
    case Applications:
        return s.priorityForApplications;
    case Files:
    case Documents:
        return s.priorityForFiles;
    case Bookmarks:
    case Stocks:
        return s.priorityForBookmarks;
    case Contacts:
        return s.priorityForAddresses;
    case Notes:
    case ProtectedNotes:
        return s.priorityForNotes;
    default:
        return 0;
    }
}

const QVariantList &SearchFilter::list(Source source, const SearchSources &s)
{
    static const QVariantList empty;
    switch (source) {
    case Applications:
        return s.applications;
    case Files:
        return s.files;
    case Documents:
        return s.documents;
    case Bookmarks:
        return s.bookmarks;
    case Stocks:
        return s.stocks;
    case Contacts:
        return s.contacts;
    case Notes:
        return s.notes;
    case ProtectedNotes:
        return s.protectedNotes;
    case Clipboard:
        return s.clipboard;
    default:
        return empty;
    }
}
