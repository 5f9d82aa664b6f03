#include "ApplicationUse.h"

#include "KorvaleArchive.h"
#include "QOR_DateUtils.h"

#include <cmath>

namespace ApplicationUse {

namespace {

qint64 integerOf(const QVariantMap &record, const QString &key)
{
    return record.value(key).toLongLong();
}

QVariant decodedArchive(const QVariant &value)
{
    if (value.typeId() == QMetaType::QByteArray)
        return KorvaleArchive::decode(value.toByteArray()).value;
    return value;
}

} // namespace

double samplePeriodSeconds()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("KORVALE_APPLICATIONS_USE_PERIOD", &ok);
    if (ok && seconds >= 1 && seconds <= int(SampleSeconds))
        return double(seconds);
    return double(SampleSeconds);
}

QString nameForBundlePath(const QString &path)
{
    QString last = path;
    while (last.endsWith(QLatin1Char('/')))
        last.chop(1);
    last = last.mid(last.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = last.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? last.left(dot) : last;
}

Records load(const QVariantList &fileList)
{
    Records records;
    for (const QVariant &item : fileList) {
        const QVariantMap record = item.toMap();
        if (record.contains(KeyOpened)) {
            records.days.append(item);
        } else if (record.contains(KeyLegacyOpened)) {
            if (record.contains(KeyStart))
                records.days.append(daySummary(namesOfDay(record), integerOf(record, KeyStart)));
        } else {
            records.uses.append(item);
        }
    }
    return records;
}

QVariantList fileList(const Records &records)
{
    QVariantList list;
    list.reserve(records.uses.size() + records.days.size());
    list.append(records.uses);
    list.append(records.days);
    return list;
}

qint64 dayStart(qint64 seconds)
{
    const QDateTime day =
        QOR_DateUtils::dayAt0h00(QOR_DateUtils::fromReferenceSeconds(double(seconds)));
    return qint64(std::floor(QOR_DateUtils::referenceSeconds(day)));
}

QVariantMap daySummary(const QSet<QString> &names, qint64 day)
{
    QVariantMap set;
    for (const QString &name : names)
        set.insert(name, 0);
    return {{KeyOpened, KorvaleArchive::encode(set).bytes}, {KeyStart, day}};
}

QSet<QString> namesOfDay(const QVariantMap &summary)
{
    QSet<QString> names;
    if (summary.contains(KeyOpened)) {
        const QVariantMap set = decodedArchive(summary.value(KeyOpened)).toMap();
        for (auto it = set.cbegin(); it != set.cend(); ++it)
            names.insert(it.key());
    } else {
        for (const QVariant &name : decodedArchive(summary.value(KeyLegacyOpened)).toList())
            names.insert(name.toString());
    }
    return names;
}

void compact(QVariantList &uses)
{
    if (uses.size() < 2)
        return;
    // `a` is the record being grown; it is written out once the next one no longer melts into
    // it. This is the walk "compare record i with record i + 1, merge and look again" in one
    // pass, without shifting the list at each merge.
    QVariantList out;
    out.reserve(uses.size());
    QVariant a = uses.at(0);
    QVariantMap am = a.toMap();
    bool changed = false;
    for (qsizetype j = 1; j < uses.size(); ++j) {
        const QVariant &b = uses.at(j);
        const QVariantMap bm = b.toMap();
        const QString name = am.value(KeyName).toString();
        const qint64 aEnd = integerOf(am, KeyEnd);
        const qint64 bStart = integerOf(bm, KeyStart);
        if (name == bm.value(KeyName).toString()) {
            const qint64 t = aEnd != 0 ? aEnd : integerOf(am, KeyStart);
            if (t >= bStart - MergeGapSeconds) {
                const qint64 bEnd = integerOf(bm, KeyEnd);
                am = {{KeyName, name},
                      {KeyStart, integerOf(am, KeyStart)},
                      {KeyEnd, bEnd != 0 ? bEnd : t + SampleSeconds}};
                changed = true;
                continue;
            }
        } else if (aEnd != 0 && aEnd != bStart && aEnd >= bStart - MergeGapSeconds) {
            am = {{KeyName, name}, {KeyStart, integerOf(am, KeyStart)}, {KeyEnd, bStart}};
            changed = true;
        }
        out.append(changed ? QVariant(am) : a);
        a = b;
        am = bm;
        changed = false;
    }
    out.append(changed ? QVariant(am) : a);
    uses = std::move(out);
}

void summarisePastDays(Records &records)
{
    if (records.uses.isEmpty() || records.days.isEmpty())
        return;
    const qint64 firstSummary = integerOf(records.days.first().toMap(), KeyStart);
    if (firstSummary <= integerOf(records.uses.first().toMap(), KeyStart))
        return;
    QVariantList aside = std::move(records.days);
    records.days.clear();
    qint64 day = dayStart(integerOf(records.uses.first().toMap(), KeyStart));
    QSet<QString> names;
    for (const QVariant &item : std::as_const(records.uses)) {
        const QVariantMap record = item.toMap();
        const qint64 start = integerOf(record, KeyStart);
        if (start >= firstSummary)
            break;
        const qint64 recordDay = dayStart(start);
        if (recordDay != day) {
            records.days.append(daySummary(names, day));
            names.clear();
            day = recordDay;
        }
        names.insert(record.value(KeyName).toString());
    }
    records.days.append(daySummary(names, day));
    records.days.append(aside);
}

void closeToday(Records &records, QSet<QString> seenSinceSave, qint64 todayStart)
{
    if (!records.days.isEmpty() && integerOf(records.days.last().toMap(), KeyStart) == todayStart) {
        seenSinceSave.unite(namesOfDay(records.days.last().toMap()));
        records.days.removeLast();
    }
    records.days.append(daySummary(seenSinceSave, todayStart));
}

void prepareSave(Records &records, const QSet<QString> &seenSinceSave, qint64 todayStart)
{
    compact(records.uses);
    summarisePastDays(records);
    closeToday(records, seenSinceSave, todayStart);
}

} // namespace ApplicationUse
