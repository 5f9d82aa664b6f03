#include "PreparedList.h"

#include "ItemRecord.h"
#include "SearchTextFields.h"

#include <QtConcurrent/QtConcurrentRun>

#include <functional>

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

} // namespace

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

std::size_t PreparedList::identityHash(const QString &identity)
{
    return std::hash<std::u16string_view>()(std::u16string_view(
        reinterpret_cast<const char16_t *>(identity.constData()), std::size_t(identity.size())));
}

PreparedRecord PreparedList::prepareRecord(const QVariantMap &record)
{
    PreparedRecord prepared;
    prepared.record = record;
    prepared.text = SearchTextFields::agentSearchText(record);
    prepared.textHash = std::hash<std::string_view>()(prepared.text.folded());
    const auto abbreviation = record.constFind(ItemRecord::KeyAbbreviation);
    if (abbreviation != record.constEnd()) {
        prepared.hasAbbreviation = true;
        prepared.abbreviation = abbreviation->toString();
    }
    prepared.identityHash = identityHash(identityText(record));
    if (const std::optional<QString> title = sortTitle(record)) {
        prepared.hasSortTitle = true;
        prepared.sortTitle = foldedTitle(*title);
        for (std::size_t i = 0; i < 8; ++i) {
            const unsigned char byte = i < prepared.sortTitle.size() ? prepared.sortTitle[i] : 0;
            prepared.sortTitlePrefix = prepared.sortTitlePrefix << 8 | byte;
        }
    }
    prepared.kind = ItemRecord::kind(record);
    return prepared;
}

std::shared_ptr<const PreparedList> PreparedList::prepare(const QVariantList &list, int threads)
{
    auto result = std::make_shared<PreparedList>();
    result->records.resize(std::size_t(list.size()));
    auto prepareRange = [&list, &result](qsizetype begin, qsizetype end) {
        for (qsizetype i = begin; i < end; ++i)
            result->records[std::size_t(i)] = prepareRecord(list.at(i).toMap());
    };
    const qsizetype half = list.size() / 2;
    if (threads > 1 && list.size() >= 4096) {
        QFuture<void> second = QtConcurrent::run(prepareRange, half, list.size());
        prepareRange(0, half);
        second.waitForFinished();
    } else {
        prepareRange(0, list.size());
    }
    return result;
}

std::size_t PreparedList::memoryBytes() const
{
    std::size_t bytes = records.capacity() * sizeof(PreparedRecord);
    for (const PreparedRecord &r : records) {
        bytes += std::size_t(r.text.size()) + 16 + 24;
        bytes += std::size_t(r.abbreviation.capacity()) * 2;
        if (r.sortTitle.capacity() > 15) // beyond the short-string buffer
            bytes += r.sortTitle.capacity() + 1;
    }
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
    return entry.prepared;
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
}

void PreparedListCache::clear(int slot)
{
    std::lock_guard lock(mMutex);
    mEntries.at(std::size_t(slot)) = {};
}
