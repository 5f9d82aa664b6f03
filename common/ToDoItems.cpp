#include "ToDoItems.h"

#include "ItemRecord.h"
#include "QOR_DateUtils.h"
#include "TextMatching.h"

#include <algorithm>
#include <cmath>

namespace ToDoItems {

std::optional<QDateTime> dueDate(const QVariantMap &record)
{
    const QVariant value = record.value(ItemRecord::KeyDate);
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime date = value.toDateTime();
        return date.isValid() ? std::optional<QDateTime>(date) : std::nullopt;
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Double: {
        const QDateTime date = QOR_DateUtils::fromReferenceSeconds(value.toDouble());
        return date.isValid() ? std::optional<QDateTime>(date) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

bool isDone(const QVariantMap &record)
{
    return record.value(ItemRecord::KeyDone).toInt() != 0;
}

bool isOverdue(const QVariantMap &record, const QDateTime &now)
{
    if (isDone(record))
        return false;
    const std::optional<QDateTime> due = dueDate(record);
    return due && *due < now;
}

bool anyOverdue(const QVariantList &list, const QDateTime &now)
{
    return std::any_of(list.cbegin(), list.cend(),
                       [&now](const QVariant &item) { return isOverdue(item.toMap(), now); });
}

std::optional<QDateTime> nextDueAfter(const QVariantList &list, const QDateTime &now)
{
    std::optional<QDateTime> next;
    for (const QVariant &item : list) {
        const QVariantMap record = item.toMap();
        if (isDone(record))
            continue;
        const std::optional<QDateTime> due = dueDate(record);
        if (due && *due >= now && (!next || *due < *next))
            next = due;
    }
    return next;
}

void sort(QVariantList &list)
{
    struct Key {
        std::optional<qint64> date;
        std::optional<QString> title;
    };
    QList<std::pair<Key, QVariant>> keyed;
    keyed.reserve(list.size());
    for (const QVariant &item : list) {
        const QVariantMap record = item.toMap();
        Key key;
        if (const std::optional<QDateTime> due = dueDate(record))
            key.date = due->toMSecsSinceEpoch();
        if (record.contains(ItemRecord::KeyTitle))
            key.title = record.value(ItemRecord::KeyTitle).toString();
        keyed.append({key, item});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) {
        if (a.first.date != b.first.date)
            return a.first.date < b.first.date; // nullopt sorts first
        return TextMatching::compareTitles(a.first.title, b.first.title) < 0;
    });
    for (qsizetype i = 0; i < keyed.size(); ++i)
        list[i] = keyed[i].second;
}

QVariantMap newRecord(const QString &title, const QDateTime &date, bool done)
{
    return {{ItemRecord::KeyKind, int(ItemRecord::KindToDo)},
            {ItemRecord::KeyTitle, title},
            {ItemRecord::KeyDate, date},
            {ItemRecord::KeyDone, done ? 1 : 0}};
}

QVariantMap toggledDone(const QVariantMap &record)
{
    QVariantMap changed = record;
    changed.insert(ItemRecord::KeyDone, isDone(record) ? 0 : 1);
    return changed;
}

QDateTime sameTimeNextMonth(const QDateTime &date)
{
    const QDateTime local = date.toLocalTime();
    const QDate day = local.date();
    int year = day.year();
    int month = day.month() + 1;
    if (month > 12) {
        month = 1;
        ++year;
    }
    // Lenient building: day 31 of a 30-day month is the 1st of the one after.
    const QDate target = QDate(year, month, 1).addDays(day.day() - 1);
    const QTime time(local.time().hour(), local.time().minute(), 0);
    return QDateTime(target, time, Qt::LocalTime);
}

QVariantMap postponed(const QVariantMap &record, Step step)
{
    const std::optional<QDateTime> due = dueDate(record);
    if (!due)
        return record;
    QDateTime moved;
    switch (step) {
    case Step::Day:
        moved = due->addSecs(86400);
        break;
    case Step::Week:
        moved = due->addSecs(604800);
        break;
    case Step::Month:
        moved = sameTimeNextMonth(*due);
        break;
    }
    QVariantMap changed = record;
    changed.insert(ItemRecord::KeyDate, moved);
    return changed;
}

} // namespace ToDoItems
