#include "NoteLists.h"

#include "KorvaleArchive.h"

#include <QCryptographicHash>
#include <QHash>

#include <algorithm>

namespace {

// Records compared through their archived bytes, which a map's sorted keys make canonical.
QByteArray identity(const QVariant &record)
{
    return QCryptographicHash::hash(KorvaleArchive::encode(record).bytes, QCryptographicHash::Sha256);
}

QHash<QByteArray, int> counted(const QVariantList &list)
{
    QHash<QByteArray, int> counts;
    counts.reserve(list.size());
    for (const QVariant &record : list)
        ++counts[identity(record)];
    return counts;
}

} // namespace

void NoteLists::sortByTitle(QVariantList &notes)
{
    std::stable_sort(notes.begin(), notes.end(), [](const QVariant &a, const QVariant &b) {
        const QVariantMap left = a.toMap();
        const QVariantMap right = b.toMap();
        const bool hasLeft = left.contains(QStringLiteral("T"));
        const bool hasRight = right.contains(QStringLiteral("T"));
        if (!hasLeft || !hasRight)
            return !hasLeft && hasRight;
        return left.value(QStringLiteral("T")).toString().compare(right.value(QStringLiteral("T")).toString(),
                                                                   Qt::CaseInsensitive)
            < 0;
    });
}

QVariantList NoteLists::merge(const QVariantList &base, const QVariantList &mine, const QVariantList &theirs)
{
    QHash<QByteArray, int> inBase = counted(base);
    QHash<QByteArray, int> removed; // base less mine
    QVariantList added;             // mine less base
    for (const QVariant &record : mine) {
        const QByteArray id = identity(record);
        auto kept = inBase.find(id);
        if (kept != inBase.end() && kept.value() > 0)
            --kept.value();
        else
            added.append(record);
    }
    for (auto it = inBase.cbegin(); it != inBase.cend(); ++it)
        if (it.value() > 0)
            removed.insert(it.key(), it.value());

    QVariantList result;
    result.reserve(theirs.size() + added.size());
    for (const QVariant &record : theirs) {
        auto gone = removed.find(identity(record));
        if (gone != removed.end() && gone.value() > 0)
            --gone.value();
        else
            result.append(record);
    }
    result.append(added);
    sortByTitle(result);
    return result;
}
