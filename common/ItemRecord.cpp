#include "ItemRecord.h"

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
