#include "PreparedList.h"

#include "ItemRecord.h"
#include "SearchTextFields.h"
#include "SearchTextFolding.h"

#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>

namespace {

void appendField(QString &text, const QVariantMap &record, const QString &key)
{
    const auto it = record.constFind(key);
    if (it == record.constEnd())
        return;
    const QString value = it->toString();
    if (value.isEmpty())
        return;
    text += QLatin1Char(' ');
    text += value;
}

// A file titled by its name has that name twice in its search text: at the start and at the
// end. A query word never holds a space, so it is found in the name at the end only if it is
// found in the same name at the start; the repeat at the end is left out.
void dropRepeatedName(std::string &text, const QVariantMap &record)
{
    const QString name = SearchTextFields::lastAgentSearchName(record);
    if (name.isEmpty() || std::size_t(name.size()) * 2 >= text.size())
        return;
    const std::string folded = SearchTextFolding::fold(name);
    if (folded.empty() || text.size() <= 2 * folded.size())
        return;
    const std::size_t rest = text.size() - folded.size() - 1;
    if (std::string_view(text).ends_with(folded) && text[rest] == ' '
        && std::string_view(text).starts_with(folded))
        text.resize(rest);
}

// Each half of a list prepared on its own thread keeps its own arena; offsets are relative.
// A half's arena stops growing short of 2 GiB so that the joined offsets fit 32 bits: records
// beyond keep an empty text and title.
constexpr std::size_t kPartLimit = (std::size_t(1) << 31) - 64;

} // namespace

struct PreparedList::Part {
    std::string arena;
    std::vector<quint32> start;
    std::vector<quint16> title, identityHash;
    std::vector<std::pair<quint32, quint32>> longTitles;
    std::vector<qint8> kind;
    std::vector<std::pair<quint32, int>> kindsAside;
    std::vector<std::pair<quint32, QString>> abbreviations;
    std::array<quint32, 256> byteCounts{};
};

QString PreparedList::identityText(const QVariantMap &record, bool withPathElement)
{
    QString text = record.value(ItemRecord::KeyTitle).toString();
    appendField(text, record, ItemRecord::KeyKeywords);
    appendField(text, record, ItemRecord::KeyText);
    const QString path = record.value(ItemRecord::KeyPath).toString();
    if (!path.isEmpty()) {
        if (withPathElement && text.isEmpty())
            text = SearchTextFields::lastPathElement(path);
        text += QLatin1Char(' ');
        text += path;
    }
    return text;
}

std::optional<QString> PreparedList::sortTitle(const QVariantMap &record)
{
    const auto title = record.constFind(ItemRecord::KeyTitle);
    if (title != record.constEnd())
        return title->toString();
    const auto path = record.constFind(ItemRecord::KeyPath);
    if (path != record.constEnd())
        return SearchTextFields::withoutExtension(
            SearchTextFields::lastPathElement(path->toString()));
    return std::nullopt;
}

std::string PreparedList::foldedTitle(const QString &title)
{
    QList<uint> codePoints = title.toUcs4();
    for (uint &c : codePoints)
        c = QChar::toCaseFolded(char32_t(c));
    const QByteArray utf8 =
        QString::fromUcs4(reinterpret_cast<const char32_t *>(codePoints.constData()),
                          codePoints.size())
            .toUtf8();
    return std::string(utf8.constData(), std::size_t(utf8.size()));
}

quint16 PreparedList::identityHash(const QString &identity)
{
    const quint64 hash = std::hash<std::u16string_view>()(std::u16string_view(
        reinterpret_cast<const char16_t *>(identity.constData()), std::size_t(identity.size())));
    return quint16(hash ^ (hash >> 16) ^ (hash >> 32) ^ (hash >> 48));
}

void PreparedList::prepareRange(const QVariantList &list, qsizetype begin, qsizetype end,
                                Part &part)
{
    const std::size_t count = std::size_t(end - begin);
    part.start.reserve(count);
    part.title.reserve(count);
    part.identityHash.reserve(count);
    part.kind.reserve(count);
    std::string text;
    for (qsizetype i = begin; i < end; ++i) {
        const QVariantMap record = list.at(i).toMap();
        text.clear();
        SearchTextFolding::foldInto(SearchTextFields::forAgentSearch(record), text);
        dropRepeatedName(text, record);
        quint16 titleWord = 0;
        std::string title;
        if (const std::optional<QString> sortTitle = PreparedList::sortTitle(record)) {
            titleWord |= kHasTitle;
            title = foldedTitle(*sortTitle);
        }
        const bool inText = std::string_view(text).starts_with(title);
        const std::size_t segment = (inText ? 0 : title.size()) + text.size();
        if (part.arena.size() + segment > kPartLimit || title.size() > kMaxTitleLength) {
            title.clear();
            text.clear();
        }
        if (title.size() < kLengthMask) {
            titleWord |= quint16(title.size());
        } else {
            titleWord |= kLengthMask;
            part.longTitles.emplace_back(quint32(i), quint32(title.size()));
        }
        part.start.push_back(quint32(part.arena.size()));
        if (inText || title.empty())
            titleWord |= kTitleInText;
        else
            part.arena += title;
        part.arena += text;
        for (const char c : text)
            ++part.byteCounts[static_cast<unsigned char>(c)];
        const auto abbreviation = record.constFind(ItemRecord::KeyAbbreviation);
        if (abbreviation != record.constEnd()) {
            titleWord |= kHasAbbreviation;
            part.abbreviations.emplace_back(quint32(i), abbreviation->toString());
        }
        part.title.push_back(titleWord);
        part.identityHash.push_back(identityHash(identityText(record)));
        const int kind = ItemRecord::kind(record);
        if (kind > kKindAside && kind <= std::numeric_limits<qint8>::max()) {
            part.kind.push_back(qint8(kind));
        } else {
            part.kind.push_back(kKindAside);
            part.kindsAside.emplace_back(quint32(i), kind);
        }
    }
}

std::shared_ptr<const PreparedList> PreparedList::prepare(const QVariantList &list, int threads)
{
    auto result = std::make_shared<PreparedList>();
    result->records = SharedRecords(list);
    const qsizetype half = threads > 1 && list.size() >= 4096 ? list.size() / 2 : list.size();
    Part parts[2];
    if (half < list.size()) {
        QFuture<void> second =
            QtConcurrent::run([&] { prepareRange(list, half, list.size(), parts[1]); });
        prepareRange(list, 0, half, parts[0]);
        second.waitForFinished();
    } else {
        prepareRange(list, 0, list.size(), parts[0]);
    }

    std::size_t arenaSize = kPadding;
    for (const Part &part : parts)
        arenaSize += part.arena.size();
    result->mArena.reserve(arenaSize);
    const std::size_t count = std::size_t(list.size());
    result->mStart.reserve(count + 1);
    result->mTitle.reserve(count);
    result->mIdentityHash.reserve(count);
    result->mKind.reserve(count);
    for (Part &part : parts) {
        const quint32 base = quint32(result->mArena.size());
        result->mArena += part.arena;
        std::string().swap(part.arena);
        for (const quint32 start : part.start)
            result->mStart.push_back(base + start);
        result->mTitle.insert(result->mTitle.end(), part.title.begin(), part.title.end());
        result->mIdentityHash.insert(result->mIdentityHash.end(), part.identityHash.begin(),
                                     part.identityHash.end());
        result->mKind.insert(result->mKind.end(), part.kind.begin(), part.kind.end());
        result->mKindsAside.insert(result->mKindsAside.end(), part.kindsAside.begin(),
                                   part.kindsAside.end());
        result->mLongTitles.insert(result->mLongTitles.end(), part.longTitles.begin(),
                                   part.longTitles.end());
        for (auto &abbreviation : part.abbreviations)
            result->mAbbreviations.push_back(std::move(abbreviation));
        for (std::size_t b = 0; b < 256; ++b)
            result->mByteCounts[b] += part.byteCounts[b];
    }
    result->mStart.push_back(quint32(result->mArena.size()));
    result->mArena.append(kPadding, '\0');
    // Most lists hold one kind only: then no byte per record.
    const std::vector<qint8> &kinds = result->mKind;
    if (!kinds.empty() && result->mKindsAside.empty()
        && std::all_of(kinds.begin(), kinds.end(), [&kinds](qint8 k) { return k == kinds[0]; })) {
        result->mUniformKind = kinds[0];
        std::vector<qint8>().swap(result->mKind);
    }
    return result;
}

const QString *PreparedList::abbreviation(std::size_t i) const
{
    if (!(mTitle[i] & kHasAbbreviation))
        return nullptr;
    const auto it = std::lower_bound(mAbbreviations.begin(), mAbbreviations.end(), quint32(i),
                                     [](const std::pair<quint32, QString> &entry, quint32 index) {
                                         return entry.first < index;
                                     });
    return &it->second;
}

quint32 PreparedList::longTitleLength(std::size_t i) const
{
    return std::lower_bound(mLongTitles.begin(), mLongTitles.end(), quint32(i),
                            [](const std::pair<quint32, quint32> &entry, quint32 index) {
                                return entry.first < index;
                            })
        ->second;
}

int PreparedList::kindAside(std::size_t i) const
{
    return std::lower_bound(mKindsAside.begin(), mKindsAside.end(), quint32(i),
                            [](const std::pair<quint32, int> &entry, quint32 index) {
                                return entry.first < index;
                            })
        ->second;
}

std::vector<quint32> PreparedList::abbreviationsEqualTo(const QString &text) const
{
    std::vector<quint32> indexes;
    for (const auto &[index, abbreviation] : mAbbreviations)
        if (abbreviation == text)
            indexes.push_back(index);
    return indexes;
}

const std::vector<quint32> &PreparedList::titleOrder(int threads) const
{
    std::call_once(mTitleOrderOnce, [this, threads] {
        std::vector<quint32> order(size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = quint32(i);
        const auto before = [this](quint32 a, quint32 b) {
            if (hasTitle(a) != hasTitle(b))
                return !hasTitle(a);
            const int c = title(a).compare(title(b));
            return c != 0 ? c < 0 : a < b;
        };
        const auto middle = order.begin() + std::ptrdiff_t(order.size() / 2);
        if (threads > 1 && order.size() >= 8192) {
            QFuture<void> second =
                QtConcurrent::run([&] { std::sort(middle, order.end(), before); });
            std::sort(order.begin(), middle, before);
            second.waitForFinished();
            std::inplace_merge(order.begin(), middle, order.end(), before);
        } else {
            std::sort(order.begin(), order.end(), before);
        }
        mTitleOrder = std::move(order);
        mTitleOrderBytes = mTitleOrder.capacity() * sizeof(quint32);
    });
    return mTitleOrder;
}

std::size_t PreparedList::memoryBytes() const
{
    std::size_t bytes = mArena.capacity() + mStart.capacity() * sizeof(quint32)
        + mTitle.capacity() * sizeof(quint16) + mLongTitles.capacity() * sizeof(mLongTitles[0])
        + mIdentityHash.capacity() * sizeof(quint16) + mKind.capacity()
        + mKindsAside.capacity() * sizeof(mKindsAside[0]) + mTitleOrderBytes.load()
        + mAbbreviations.capacity() * sizeof(mAbbreviations[0]);
    for (const auto &abbreviation : mAbbreviations)
        bytes += std::size_t(abbreviation.second.capacity()) * 2;
    return bytes;
}

std::shared_ptr<const PreparedList> PreparedListCache::get(int slot, const QVariantList &list,
                                                           int threads)
{
    std::lock_guard lock(mMutex);
    Entry &entry = mEntries.at(std::size_t(slot));
    if (entry.prepared && entry.list.constData() == list.constData()
        && entry.list.size() == list.size())
        return entry.prepared;
    entry.prepared = PreparedList::prepare(list, threads);
    entry.list = list;
    mEmptyQuery.reset(); // its items would keep the replaced list's records alive
    return entry.prepared;
}

bool EmptyQueryKey::sameAs(const EmptyQueryKey &other) const
{
    if (typeForSearch != other.typeForSearch || lists.size() != other.lists.size()
        || priorities != other.priorities || menuOpened != other.menuOpened)
        return false;
    for (std::size_t i = 0; i < lists.size(); ++i) {
        const std::shared_ptr<const PreparedList> list = lists[i].lock();
        if (!list || list != other.lists[i].lock())
            return false;
    }
    return true;
}

std::optional<PreparedListCache::EmptyQueryResult>
PreparedListCache::emptyQueryResult(const EmptyQueryKey &key) const
{
    std::lock_guard lock(mMutex);
    if (mEmptyQuery && mEmptyQuery->first.sameAs(key))
        return mEmptyQuery->second;
    return std::nullopt;
}

void PreparedListCache::keepEmptyQueryResult(EmptyQueryKey key, EmptyQueryResult result)
{
    std::lock_guard lock(mMutex);
    mEmptyQuery.emplace(std::move(key), std::move(result));
}

std::size_t PreparedListCache::memoryBytes() const
{
    std::lock_guard lock(mMutex);
    std::size_t bytes = 0;
    for (const Entry &entry : mEntries)
        if (entry.prepared)
            bytes += entry.prepared->memoryBytes();
    return bytes;
}

void PreparedListCache::clear()
{
    std::lock_guard lock(mMutex);
    mEntries = {};
    mEmptyQuery.reset();
}

void PreparedListCache::clear(int slot)
{
    std::lock_guard lock(mMutex);
    mEntries.at(std::size_t(slot)) = {};
    mEmptyQuery.reset();
}
