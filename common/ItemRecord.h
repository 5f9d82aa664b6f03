#pragma once

#include <QString>
#include <QVariantMap>

// The item record: the dictionary with short keys that every list, menu, search result and
// notification of the suite carries.
namespace ItemRecord {

enum Kind : int {
    KindApplication = 1,
    KindFile = 2,
    KindBookmark = 3,
    KindContact = 4,
    KindNote = 5,
    KindProtectedNote = 6,
    KindStock = 7,
    KindToDo = 8,
    KindClipboard = 9,
    KindPasteboardPath = 10,
    KindReminder = 11,
    KindCalendarEvent = 12,
    // Computed from the query (a calculation, a web keyword...), never stored in a list.
    KindAnswer = 13,
};

// The record's keys as the lists store them (ItemRecord.cpp).
extern const QString KeyKind;
extern const QString KeyTitle;
extern const QString KeyPath;
extern const QString KeyIsFolder;
extern const QString KeyFolderContents;
extern const QString KeyAddress;
extern const QString KeyText;
extern const QString KeyAbbreviation;
extern const QString KeyKeywords;
extern const QString KeyShortcut;
extern const QString KeyHideOthers;
extern const QString KeyUID;
extern const QString KeyPhone;
extern const QString KeyEmail;
extern const QString KeyDate;
extern const QString KeyDone;
extern const QString KeyColor;
extern const QString KeyClipboardContents;
extern const QString KeyStockURL;
extern const QString KeyValMin;
extern const QString KeyValMax;
extern const QString KeyValLast;
extern const QString KeyValLastShown;
extern const QString KeyMadeFromMenu;

// Ranking annotations of search results; never stored.
extern const QString KeyAbbreviationMatched;
extern const QString KeyBeginsWith;
extern const QString KeyPriority;
extern const QString KeyRecentRank;

// Absent keys read as 0 and the empty string.
inline int kind(const QVariantMap &record)
{
    return record.value(KeyKind).toInt();
}
inline QString string(const QVariantMap &record, const QString &key)
{
    return record.value(key).toString();
}

// Kinds opened, revealed and previewed through their path.
bool isFileSystemKind(int kind);

// Whether two records name the same item (recent items, looking an item up again).
bool isSameItem(const QVariantMap &a, const QVariantMap &b);

} // namespace ItemRecord
