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

inline const QString KeyKind = QStringLiteral("x");
inline const QString KeyTitle = QStringLiteral("T");
inline const QString KeyPath = QStringLiteral("P");
inline const QString KeyIsFolder = QStringLiteral("D");
inline const QString KeyFolderContents = QStringLiteral("F");
inline const QString KeyAddress = QStringLiteral("U");
inline const QString KeyText = QStringLiteral("t");
inline const QString KeyAbbreviation = QStringLiteral("A");
inline const QString KeyKeywords = QStringLiteral("K");
inline const QString KeyShortcut = QStringLiteral(">");
inline const QString KeyHideOthers = QStringLiteral("H");
inline const QString KeyUID = QStringLiteral("UID");
inline const QString KeyPhone = QStringLiteral("Phone");
inline const QString KeyEmail = QStringLiteral("Email");
inline const QString KeyDate = QStringLiteral("Date");
inline const QString KeyDone = QStringLiteral("Done");
inline const QString KeyColor = QStringLiteral("Color");
inline const QString KeyClipboardContents = QStringLiteral("cb");
inline const QString KeyStockURL = QStringLiteral("StockURL");
inline const QString KeyValMin = QStringLiteral("ValMin");
inline const QString KeyValMax = QStringLiteral("ValMax");
inline const QString KeyValLast = QStringLiteral("ValLast");
inline const QString KeyValLastShown = QStringLiteral("ValLastShown");
inline const QString KeyMadeFromMenu = QStringLiteral("-");

// Ranking annotations of search results; never stored.
inline const QString KeyAbbreviationMatched = QStringLiteral("a");
inline const QString KeyBeginsWith = QStringLiteral("B");
inline const QString KeyPriority = QStringLiteral("p");
inline const QString KeyRecentRank = QStringLiteral("L");

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
