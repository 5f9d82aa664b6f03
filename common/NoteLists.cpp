#include "NoteLists.h"

#include "ListMerge.h"

#include <algorithm>

void NoteLists::sortByTitle(QVariantList &notes)
{
    std::stable_sort(notes.begin(), notes.end(), [](const QVariant &a, const QVariant &b) {
        const QVariantMap left = a.toMap();
        const QVariantMap right = b.toMap();
        const bool hasLeft = left.contains(QStringLiteral("T"));
        const bool hasRight = right.contains(QStringLiteral("T"));
        if (!hasLeft || !hasRight)
            return !hasLeft && hasRight;
        return left.value(QStringLiteral("T"))
                   .toString()
                   .compare(right.value(QStringLiteral("T")).toString(), Qt::CaseInsensitive)
            < 0;
    });
}

QVariantList NoteLists::merge(const QVariantList &base, const QVariantList &mine,
                              const QVariantList &theirs)
{
    // Notes have no identity of their own here: a note is its whole value.
    QVariantList result = ListMerge::merge(base, mine, theirs);
    sortByTitle(result);
    return result;
}
