#include "ApplicationUse.h"
#include "KorvaleArchive.h"
#include "QOR_DateUtils.h"
#include "ScopedTimeZone.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace ApplicationUse;

QVariant use(const QString &name, qint64 start, qint64 end = 0)
{
    QVariantMap record{{KeyName, name}, {KeyStart, start}};
    if (end != 0)
        record.insert(KeyEnd, end);
    return record;
}

// "A 0-120" for an interval, "A 0" for a lone sample.
QStringList describe(const QVariantList &uses)
{
    QStringList out;
    for (const QVariant &item : uses) {
        const QVariantMap r = item.toMap();
        QString text = r.value(KeyName).toString() + QLatin1Char(' ')
            + QString::number(r.value(KeyStart).toLongLong());
        if (r.contains(KeyEnd))
            text += QLatin1Char('-') + QString::number(r.value(KeyEnd).toLongLong());
        out.append(text);
    }
    return out;
}

qint64 localMidnight(int year, int month, int day)
{
    return qint64(QOR_DateUtils::referenceSeconds(
        QOR_DateUtils::dayAt0h00(QDateTime(QDate(year, month, day), QTime(12, 0)))));
}

qint64 localTime(int year, int month, int day, int hour, int minute)
{
    return qint64(
        QOR_DateUtils::referenceSeconds(QDateTime(QDate(year, month, day), QTime(hour, minute))));
}

QStringList sorted(const QSet<QString> &names)
{
    QStringList list(names.cbegin(), names.cend());
    list.sort();
    return list;
}

} // namespace

TEST(ApplicationUse, CompactionMeltsSamplesCutsAtTheNextStartAndKeepsGaps)
{
    const struct {
        const char *what;
        QVariantList uses;
        QStringList expected;
    } cases[] = {
        {"three samples a minute apart", {use("A", 0), use("A", 60), use("A", 120)}, {"A 0-120"}},
        {"a gap over 90 s after the end", {use("A", 0), use("A", 200)}, {"A 0", "A 200"}},
        {"90 s is still within the gap", {use("A", 0), use("A", 90)}, {"A 0-60"}},
        {"91 s is not", {use("A", 0), use("A", 91)}, {"A 0", "A 91"}},
        {"a sample after an interval", {use("A", 0, 300), use("A", 360)}, {"A 0-360"}},
        {"an interval melts into an interval", {use("A", 0), use("A", 50, 300)}, {"A 0-300"}},
        {"the next application starts before the end",
         {use("A", 0, 500), use("B", 450)},
         {"A 0-450", "B 450"}},
        {"the next application starts well after",
         {use("A", 0, 500), use("B", 700)},
         {"A 0-500", "B 700"}},
        {"the next application starts within 90 s after",
         {use("A", 0, 500), use("B", 560)},
         {"A 0-560", "B 560"}},
        {"a lone sample is not stretched", {use("A", 0), use("B", 30)}, {"A 0", "B 30"}},
        {"turns between two applications",
         {use("A", 0), use("A", 60), use("B", 120), use("B", 180), use("A", 240)},
         {"A 0-120", "B 120-240", "A 240"}},
        {"an end of 0 counts as none", {use("A", 0, 0), use("A", 60)}, {"A 0-60"}},
        // A damaged file's times are kept within 2^43 s, so that the gap arithmetic holds.
        {"times beyond any date",
         {use("A", std::numeric_limits<qint64>::max()),
          use("A", std::numeric_limits<qint64>::min())},
         {"A 8796093022208-8796093022268"}},
    };
    for (const auto &c : cases) {
        QVariantList uses = c.uses;
        compact(uses);
        EXPECT_EQ(describe(uses), c.expected) << c.what;
        // What is compact stays as it is.
        QVariantList again = uses;
        compact(again);
        EXPECT_EQ(describe(again), describe(uses)) << c.what;
    }
}

// A save compacts only from the last record the previous save left: the same result as
// compacting everything at once.
TEST(ApplicationUse, CompactingInStepsGivesWhatOneCompactionGives)
{
    QVariantList samples;
    quint32 seed = 7;
    qint64 t = 0;
    for (int i = 0; i < 400; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const QString name = QString(QChar('A' + int((seed >> 12) % 3)));
        t += 30 + qint64((seed >> 4) % 100);
        samples.append((seed >> 20) % 5 == 0 ? use(name, t, t + 40 + qint64(seed % 200))
                                             : use(name, t));
    }
    QVariantList whole = samples;
    compact(whole);
    ASSERT_LT(whole.size(), samples.size());

    QVariantList stepped;
    qsizetype compacted = 0;
    for (qsizetype at = 0; at < samples.size(); at += 37) {
        stepped.append(samples.mid(at, 37));
        compact(stepped, compacted - 1);
        compacted = stepped.size();
    }
    EXPECT_EQ(describe(stepped), describe(whole));
}

TEST(ApplicationUse, TheNameIsTheLastPathElementWithoutItsExtension)
{
    const struct {
        QString path, name;
    } cases[] = {
        {"/usr/share/applications/firefox.desktop", "firefox"},
        {"/usr/share/applications/org.gnome.Nautilus.desktop", "org.gnome.Nautilus"},
        {"/usr/bin/xterm", "xterm"},
        {"/opt/Some App.app/", "Some App"},
        {"/home/u/.local/bin/.hidden", ".hidden"},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(nameForBundlePath(c.path), c.name) << c.path.toStdString();
}

TEST(ApplicationUse, LegacySummariesAreConvertedOnLoadAndWrittenBackAsSets)
{
    const QByteArray legacy =
        KorvaleArchive::encode(QVariantList{QStringLiteral("Mail"), QStringLiteral("Terminal")})
            .bytes;
    const QVariantList file{
        use("A", 10, 70),
        QVariantMap{{KeyLegacyOpened, legacy}, {KeyStart, 86400}},
        QVariantMap{{KeyLegacyOpened, legacy}}, // no day: dropped
        daySummary({QStringLiteral("Files")}, 2 * 86400),
        use("B", 100),
    };
    const Records records = load(file);
    EXPECT_EQ(describe(records.uses), (QStringList{"A 10-70", "B 100"}));
    ASSERT_EQ(records.days.size(), 2);
    const QVariantMap converted = records.days.at(0).toMap();
    EXPECT_FALSE(converted.contains(KeyLegacyOpened));
    EXPECT_EQ(converted.value(KeyStart).toLongLong(), 86400);
    EXPECT_EQ(sorted(namesOfDay(converted)), (QStringList{"Mail", "Terminal"}));
    // The set is an archived dictionary whose values are all 0.
    const QVariantMap set =
        KorvaleArchive::decode(converted.value(KeyOpened).toByteArray()).value.toMap();
    EXPECT_EQ(set.value(QStringLiteral("Mail")), QVariant(0));

    const QVariantList written = fileList(records);
    ASSERT_EQ(written.size(), 4);
    EXPECT_EQ(describe(written.mid(0, 2)), (QStringList{"A 10-70", "B 100"}));
    for (const QVariant &day : written.mid(2))
        EXPECT_TRUE(day.toMap().contains(KeyOpened));
}

TEST(ApplicationUse, PastDaysAreSummarisedOnLocalDaysAcrossMidnightAndADaylightSavingChange)
{
    ScopedTimeZone zone("Europe/Paris");
    // 29 March 2026 lasts 23 hours in Paris.
    const qint64 day28 = localMidnight(2026, 3, 28);
    const qint64 day29 = localMidnight(2026, 3, 29);
    const qint64 day30 = localMidnight(2026, 3, 30);
    ASSERT_EQ(day30 - day29, 23 * 3600);
    Records records;
    records.uses = {
        use("Late", localTime(2026, 3, 28, 23, 58)), use("Early", localTime(2026, 3, 29, 0, 1)),
        use("Late", localTime(2026, 3, 29, 23, 30)), use("Work", localTime(2026, 3, 30, 9, 0)),
        use("Later", localTime(2026, 4, 2, 9, 0))};
    // Summaries start on the 31st: the days before it have none yet.
    const qint64 day31 = localMidnight(2026, 3, 31);
    records.days = {daySummary({QStringLiteral("Kept")}, day31)};

    summarisePastDays(records);
    ASSERT_EQ(records.days.size(), 4);
    const qint64 expectedDays[] = {day28, day29, day30, day31};
    const QStringList expectedNames[] = {{"Late"}, {"Early", "Late"}, {"Work"}, {"Kept"}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(records.days.at(i).toMap().value(KeyStart).toLongLong(), expectedDays[i]) << i;
        EXPECT_EQ(sorted(namesOfDay(records.days.at(i).toMap())), expectedNames[i]) << i;
    }

    // Summaries already older than every use record: nothing is added.
    summarisePastDays(records);
    EXPECT_EQ(records.days.size(), 4);
}

TEST(ApplicationUse, TheLocalDayStartsAtTheFirstMinuteThatExists)
{
    // Santiago skips from 24:00 to 1:00 on the first Sunday of September 2026.
    ScopedTimeZone zone("America/Santiago");
    const qint64 noon = localTime(2026, 9, 6, 12, 0);
    const QDateTime start = QOR_DateUtils::fromReferenceSeconds(double(dayStart(noon)));
    EXPECT_EQ(start.toLocalTime().date(), QDate(2026, 9, 6));
    EXPECT_EQ(start.toLocalTime().time(), QTime(1, 0));
    EXPECT_EQ(dayStart(dayStart(noon)), dayStart(noon));
}

TEST(ApplicationUse, TodaysSummaryTakesTheNamesSeenSinceTheLastSave)
{
    ScopedTimeZone zone("Europe/Paris");
    const qint64 yesterday = localMidnight(2026, 10, 24);
    const qint64 today = localMidnight(2026, 10, 25); // 25 hours long

    // A save shortly after midnight: what was seen before midnight goes to the new day.
    Records records;
    records.uses = {use("Editor", localTime(2026, 10, 24, 23, 59))};
    records.days = {daySummary({QStringLiteral("Mail")}, yesterday)};
    prepareSave(records, {QStringLiteral("Editor")}, today);
    ASSERT_EQ(records.days.size(), 2);
    EXPECT_EQ(sorted(namesOfDay(records.days.at(0).toMap())), QStringList{"Mail"});
    EXPECT_EQ(records.days.at(1).toMap().value(KeyStart).toLongLong(), today);
    EXPECT_EQ(sorted(namesOfDay(records.days.at(1).toMap())), QStringList{"Editor"});

    // A second save the same day keeps one summary for today, holding both saves' names.
    prepareSave(records, {QStringLiteral("Terminal")}, today);
    ASSERT_EQ(records.days.size(), 2);
    EXPECT_EQ(sorted(namesOfDay(records.days.at(1).toMap())), (QStringList{"Editor", "Terminal"}));
}

TEST(ApplicationUse, AFileOfOnlyDaySummariesGainsNoEarlierDays)
{
    Records records;
    records.days = {daySummary({QStringLiteral("A")}, 86400),
                    daySummary({QStringLiteral("B")}, 2 * 86400)};
    const qint64 today = dayStart(400 * 86400);
    prepareSave(records, {}, today);
    ASSERT_EQ(records.days.size(), 3);
    EXPECT_EQ(records.days.at(0).toMap().value(KeyStart).toLongLong(), 86400);
    EXPECT_EQ(records.days.at(2).toMap().value(KeyStart).toLongLong(), today);
    EXPECT_TRUE(namesOfDay(records.days.at(2).toMap()).isEmpty());
    EXPECT_TRUE(records.uses.isEmpty());
}
