#include "ApplicationUse.h"

#include "KorvaleArchive.h"
#include "QOR_DateUtils.h"

#include <algorithm>
#include <cmath>

namespace ApplicationUse {
const QString KeyName = QStringLiteral("N");
const QString KeyStart = QStringLiteral("D");
const QString KeyEnd = QStringLiteral("T");
const QString KeyOpened = QStringLiteral("M");
const QString KeyLegacyOpened = QStringLiteral("L");
} // namespace ApplicationUse

namespace ApplicationUse {

namespace {

// A file from elsewhere may hold any number: times are kept within about 280,000 years of
// 2001, so that the gap arithmetic cannot overflow and every time is a date.
constexpr qint64 TimeLimit = qint64(1) << 43;

qint64 timeOf(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        const double seconds = value.toDouble();
        if (!std::isfinite(seconds))
            return 0;
        return qint64(std::clamp(seconds, -double(TimeLimit), double(TimeLimit)));
    }
    return std::clamp(value.toLongLong(), -TimeLimit, TimeLimit);
}

qint64 integerOf(const QVariantMap &record, const QString &key)
{
    return timeOf(record.value(key));
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
    seconds = std::clamp(seconds, -TimeLimit, TimeLimit);
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

namespace {

// The walk reads every record of years of use: it looks into them without copying.
const QVariantMap &mapOf(const QVariant &value)
{
    static const QVariantMap empty;
    return value.typeId() == QMetaType::QVariantMap
        ? *static_cast<const QVariantMap *>(value.constData())
        : empty;
}

qint64 peekInteger(const QVariantMap &record, const QString &key)
{
    const auto it = record.constFind(key);
    return it == record.cend() ? 0 : timeOf(*it);
}

QString peekName(const QVariantMap &record)
{
    const auto it = record.constFind(KeyName);
    if (it == record.cend())
        return {};
    return it->typeId() == QMetaType::QString ? *static_cast<const QString *>(it->constData())
                                              : it->toString();
}

} // namespace

void compact(QVariantList &uses, qsizetype from)
{
    from = std::clamp<qsizetype>(from, 0, uses.size());
    if (uses.size() - from < 2)
        return;
    // `am` is the record being grown; it is written out once the next one no longer melts into
    // it. This is the walk "compare record i with record i + 1, merge and look again" in one
    // pass, without shifting the list at each merge. Nothing is copied until something changes.
    QVariantList out;
    bool copying = false;
    QVariantMap am = mapOf(uses.at(from));
    bool changed = false;
    const auto keep = [&](qsizetype j) {
        if (changed && !copying) {
            out.reserve(uses.size());
            out.append(uses.mid(0, j));
            copying = true;
        }
        if (copying)
            out.append(changed ? QVariant(am) : uses.at(j));
    };
    for (qsizetype j = from + 1; j < uses.size(); ++j) {
        const QVariantMap &bm = mapOf(uses.at(j));
        const QString name = peekName(am);
        const qint64 aEnd = peekInteger(am, KeyEnd);
        const qint64 bStart = peekInteger(bm, KeyStart);
        if (name == peekName(bm)) {
            const qint64 t = aEnd != 0 ? aEnd : peekInteger(am, KeyStart);
            if (t >= bStart - MergeGapSeconds) {
                const qint64 bEnd = peekInteger(bm, KeyEnd);
                am = {{KeyName, name},
                      {KeyStart, peekInteger(am, KeyStart)},
                      {KeyEnd, bEnd != 0 ? bEnd : t + SampleSeconds}};
                if (!changed && !copying) {
                    out.reserve(uses.size());
                    out.append(uses.mid(0, j - 1));
                    copying = true;
                }
                changed = true;
                continue;
            }
        } else if (aEnd != 0 && aEnd != bStart && aEnd >= bStart - MergeGapSeconds) {
            am = {{KeyName, name}, {KeyStart, peekInteger(am, KeyStart)}, {KeyEnd, bStart}};
            changed = true;
        }
        keep(j - 1);
        am = bm;
        changed = false;
    }
    keep(uses.size() - 1);
    if (copying)
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

void prepareSave(Records &records, const QSet<QString> &seenSinceSave, qint64 todayStart,
                 qsizetype compactedBefore)
{
    // The last compacted record may still grow by the first new one.
    compact(records.uses, compactedBefore - 1);
    summarisePastDays(records);
    closeToday(records, seenSinceSave, todayStart);
}

} // namespace ApplicationUse
