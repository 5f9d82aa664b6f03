#include "ItemRecord.h"

namespace ItemRecord {
const QString KeyKind = QStringLiteral("x");
const QString KeyTitle = QStringLiteral("T");
const QString KeyPath = QStringLiteral("P");
const QString KeyIsFolder = QStringLiteral("D");
const QString KeyFolderContents = QStringLiteral("F");
const QString KeyAddress = QStringLiteral("U");
const QString KeyText = QStringLiteral("t");
const QString KeyAbbreviation = QStringLiteral("A");
const QString KeyKeywords = QStringLiteral("K");
const QString KeyShortcut = QStringLiteral(">");
const QString KeyHideOthers = QStringLiteral("H");
const QString KeyUID = QStringLiteral("UID");
const QString KeyPhone = QStringLiteral("Phone");
const QString KeyEmail = QStringLiteral("Email");
const QString KeyDate = QStringLiteral("Date");
const QString KeyDone = QStringLiteral("Done");
const QString KeyColor = QStringLiteral("Color");
const QString KeyClipboardContents = QStringLiteral("cb");
const QString KeyStockURL = QStringLiteral("StockURL");
const QString KeyValMin = QStringLiteral("ValMin");
const QString KeyValMax = QStringLiteral("ValMax");
const QString KeyValLast = QStringLiteral("ValLast");
const QString KeyValLastShown = QStringLiteral("ValLastShown");
const QString KeyMadeFromMenu = QStringLiteral("-");
const QString KeyAbbreviationMatched = QStringLiteral("a");
const QString KeyBeginsWith = QStringLiteral("B");
const QString KeyPriority = QStringLiteral("p");
const QString KeyRecentRank = QStringLiteral("L");
} // namespace ItemRecord

bool ItemRecord::isFileSystemKind(int kind)
{
    return kind == KindApplication || kind == KindFile || kind == KindPasteboardPath;
}

bool ItemRecord::isSameItem(const QVariantMap &a, const QVariantMap &b)
{
    const int k = kind(a);
    if (k != kind(b))
        return false;

    auto bothEqual = [&a, &b](const QString &key) {
        const auto ia = a.constFind(key);
        const auto ib = b.constFind(key);
        return ia != a.constEnd() && ib != b.constEnd() && ia->toString() == ib->toString();
    };

    if (isFileSystemKind(k))
        return bothEqual(KeyPath);
    if (k == KindBookmark)
        return bothEqual(KeyAddress);
    if (k == KindContact || k == KindNote || k == KindProtectedNote)
        return bothEqual(KeyTitle) || bothEqual(KeyText);
    return false;
}
