#include "ListMerge.h"

#include "ItemRecord.h"
#include "KorvaleArchive.h"

#include <QDateTime>
#include <QHash>
#include <QSet>

namespace {

template <typename T> const T &held(const QVariant &value)
{
    return *static_cast<const T *>(value.constData());
}

// Consistent with QVariant's equality: numbers of any type hash by their value. Read in place,
// since QVariant's conversions cost more than the hash. Dates hash by their type alone: turning a
// local time into an instant would cost more again.
size_t mix(size_t h, size_t part)
{
    return (h ^ part) * 0x100000001b3ull;
}

size_t hashOf(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
        return qHash(double(held<int>(value)));
    case QMetaType::UInt:
        return qHash(double(held<uint>(value)));
    case QMetaType::LongLong:
        return qHash(double(held<qlonglong>(value)));
    case QMetaType::ULongLong:
        return qHash(double(held<qulonglong>(value)));
    case QMetaType::Double:
        return qHash(held<double>(value));
    case QMetaType::Float:
        return qHash(double(held<float>(value)));
    case QMetaType::Bool:
        return qHash(held<bool>(value) ? 1.0 : 0.0);
    case QMetaType::QString:
        return qHash(held<QString>(value));
    case QMetaType::QByteArray:
        return qHash(held<QByteArray>(value));
    case QMetaType::QVariantList: {
        size_t h = 0x9e3779b9u;
        for (const QVariant &element : held<QVariantList>(value))
            h = mix(h, hashOf(element));
        return h;
    }
    case QMetaType::QVariantMap: {
        const QVariantMap &map = held<QVariantMap>(value);
        size_t h = 0x7f4a7c15u;
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            h = mix(mix(h, qHash(it.key())), hashOf(it.value()));
        return h;
    }
    default:
        return size_t(value.typeId()); // equality decides
    }
}

// QVariant's equality, except that a record holding a NaN (a file may) still equals itself:
// otherwise it would count as removed and added again at every save.
bool sameRecord(const QVariant &a, const QVariant &b)
{
    return a == b || KorvaleArchive::encode(a).bytes == KorvaleArchive::encode(b).bytes;
}

struct Value {
    QVariant record;
    size_t hash;
    bool operator==(const Value &other) const
    {
        return hash == other.hash && sameRecord(record, other.record);
    }
};
size_t qHash(const Value &value, size_t seed)
{
    return value.hash ^ seed;
}

Value valueOf(const QVariant &record)
{
    return {record, hashOf(record)};
}

// An item's key with its hash made once, without QHash's per-process seed (the seeded string
// hash is several times slower, and these tables live for one merge).
struct Key {
    QString text;
    size_t hash = 0;
    bool isEmpty() const { return text.isEmpty(); }
    bool operator==(const Key &other) const { return hash == other.hash && text == other.text; }
};
size_t qHash(const Key &key, size_t seed)
{
    return key.hash ^ seed;
}
Key keyFor(QString text)
{
    const size_t hash = qHash(text);
    return {std::move(text), hash};
}

// Each record's key; a key met again in the same list gets its occurrence number, so two records
// of one path (which no writer makes) are still both kept.
class Keys
{
public:
    explicit Keys(const ListMerge::Identity &identity)
        : mIdentity(identity)
    {
    }
    Key keyOf(const QVariant &record)
    {
        if (!mIdentity)
            return {};
        Key key = keyFor(mIdentity(record.toMap()));
        if (key.isEmpty())
            return {};
        const int seen = mSeen[key]++;
        if (seen == 0)
            return key;
        return keyFor(key.text + QChar(0) + QString::number(seen)); // no path holds a NUL
    }

private:
    const ListMerge::Identity &mIdentity;
    QHash<Key, int> mSeen;
};

struct Indexed {
    QHash<Key, QVariant> byKey;
    QHash<Value, int> values;
};

Indexed indexed(const QVariantList &list, const ListMerge::Identity &identity)
{
    Indexed result;
    result.byKey.reserve(list.size());
    Keys keys(identity);
    for (const QVariant &record : list) {
        const Key key = keys.keyOf(record);
        if (key.isEmpty())
            ++result.values[valueOf(record)];
        else
            result.byKey.insert(key, record);
    }
    return result;
}

} // namespace

QString ListMerge::byPath(const QVariantMap &record)
{
    return record.value(ItemRecord::KeyPath).toString();
}

QString ListMerge::byTitle(const QVariantMap &record)
{
    return record.value(ItemRecord::KeyTitle).toString();
}

QVariantList ListMerge::merge(const QVariantList &base, const QVariantList &ours,
                              const QVariantList &theirs, const Identity &identity)
{
    const Indexed inBase = indexed(base, identity);
    const Indexed inOurs = indexed(ours, identity);

    // Values: what this program removed comes off the file's count, what it added goes on.
    QHash<Value, int> removedHere;
    for (auto it = inBase.values.cbegin(); it != inBase.values.cend(); ++it) {
        const int less = it.value() - inOurs.values.value(it.key());
        if (less > 0)
            removedHere.insert(it.key(), less);
    }
    QHash<Value, int> baseLeft = inBase.values;

    QVariantList result;
    result.reserve(theirs.size() + ours.size() / 8);
    QSet<Key> seen;
    Keys theirKeys(identity);
    for (const QVariant &their : theirs) {
        const Key key = theirKeys.keyOf(their);
        if (key.isEmpty()) {
            auto gone = removedHere.find(valueOf(their));
            if (gone != removedHere.end() && gone.value() > 0)
                --gone.value();
            else
                result.append(their);
            continue;
        }
        seen.insert(key);
        const auto b = inBase.byKey.constFind(key);
        const auto o = inOurs.byKey.constFind(key);
        const bool inB = b != inBase.byKey.constEnd();
        const bool inO = o != inOurs.byKey.constEnd();
        if (inO && (!inB || !sameRecord(*o, *b)))
            result.append(*o); // added or changed here: as edited here
        else if (inO || !inB || !sameRecord(their, *b))
            result.append(their); // unchanged here, added there, or changed there
        // else removed here and unchanged there
    }

    Keys ourKeys(identity);
    for (const QVariant &our : ours) {
        const Key key = ourKeys.keyOf(our);
        if (key.isEmpty()) {
            auto left = baseLeft.find(valueOf(our));
            if (left != baseLeft.end() && left.value() > 0)
                --left.value();
            else
                result.append(our); // added here
            continue;
        }
        if (seen.contains(key))
            continue;
        const auto b = inBase.byKey.constFind(key);
        // Not in the file: added here, or changed here and removed there.
        if (b == inBase.byKey.constEnd() || !sameRecord(*b, our))
            result.append(our);
    }
    return result;
}

qsizetype ListMerge::applyEdit(QVariantList &list, const QVariantMap &original,
                               const QVariantMap &edited, const Identity &identity)
{
    const QString key = identity ? identity(original) : QString();
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QVariantMap record = list.at(i).toMap();
        if (key.isEmpty() ? record == original : identity(record) == key) {
            list[i] = edited;
            return i;
        }
    }
    list.append(edited);
    return list.size() - 1;
}
