#include "ActivityData.h"
#include "KorvaleArchive.h"
#include "ManagerListFilter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A fixed "today" and a day of the chart, in seconds since 2001-01-01; no clock is read.
constexpr qint64 Day = 86400;
constexpr qint64 Hour = 3600;
constexpr qint64 Today = 9000 * Day;
constexpr qint64 Minute = 60;

QVariantMap use(const QString &name, qint64 start, std::optional<qint64> end = std::nullopt)
{
    QVariantMap record{{"N", name}, {"D", start}};
    if (end)
        record.insert("T", *end);
    return record;
}

QVariantMap daySummary(qint64 day, const QStringList &names)
{
    QVariantMap set;
    for (const QString &name : names)
        set.insert(name, 0);
    return {{"M", KorvaleArchive::encode(set).bytes}, {"D", day}};
}

QString fullPath(const QString &name)
{
    return QStringLiteral("/usr/share/applications/%1.desktop").arg(name);
}

} // namespace

TEST(ActivityDataTest, LevelsComeFromTheLastDayEachApplicationWasOpen)
{
    struct Case {
        qint64 daysAgo;
        ManagerListFilter::Activity level;
    };
    for (const Case &c : {Case{0, ManagerListFilter::High}, Case{3, ManagerListFilter::High},
                          Case{7, ManagerListFilter::High}, Case{8, ManagerListFilter::Middle},
                          Case{30, ManagerListFilter::Middle}, Case{31, ManagerListFilter::Low},
                          Case{180, ManagerListFilter::Low}, Case{181, ManagerListFilter::VeryLow},
                          Case{200, ManagerListFilter::VeryLow}}) {
        // A later summary wins over an earlier one, and an hour into the day is the same day.
        const QVariantList records{daySummary(Today - 400 * Day, {"gedit"}),
                                   daySummary(Today - c.daysAgo * Day + Hour, {"gedit", "xterm"})};
        const ActivityData data = ActivityData::fromRecords(records, Today);
        EXPECT_EQ(data.appsActivity().value("gedit"), c.daysAgo);
        EXPECT_EQ(ManagerListFilter::activityLevel({{"P", fullPath("gedit")}}, data.appsActivity()),
                  c.level)
            << c.daysAgo;
        EXPECT_EQ(ManagerListFilter::activityLevel({{"P", fullPath("never")}}, data.appsActivity()),
                  ManagerListFilter::None);
        EXPECT_EQ(data.oldestDayAge(), 400);
    }
}

TEST(ActivityDataTest, RecordsAreSortedAndTheOldestDayCounted)
{
    QVariantList records;
    for (int daysAgo = 10; daysAgo >= 1; --daysAgo)
        records << daySummary(Today - daysAgo * Day, {"xterm"});
    records << use("xterm", Today + Hour, Today + 2 * Hour)
            << QVariantMap{{"L", QByteArray()}, {"D", Today}}
            << QVariant(QStringLiteral("not a record")) << QVariantMap{{"N", "no start"}};
    const ActivityData data = ActivityData::fromRecords(records, Today);
    // The label reads "ActivityRecorded" with 11.
    EXPECT_EQ(data.oldestDayAge() + 1, 11);
    // A legacy day list counts as the day summary the agent turns it into.
    EXPECT_EQ(data.dayCount(), 11);
    ASSERT_EQ(data.uses().size(), 1);
    EXPECT_EQ(data.uses().first().end, Today + 2 * Hour);

    const ActivityData empty = ActivityData::fromRecords({}, Today);
    EXPECT_EQ(empty.oldestDayAge(), 0);
    EXPECT_TRUE(empty.appsActivity().isEmpty());
}

TEST(ActivityDataTest, AnUnrecordedEndLastsOneMinute)
{
    const QVariantList records{use("a", 1000), use("b", 2000, 0), use("c", 3000, 2500),
                               use("d", 4000, 4300)};
    const ActivityData data = ActivityData::fromRecords(records, Today);
    ASSERT_EQ(data.uses().size(), 4);
    EXPECT_EQ(data.uses().at(0).end, 1060);
    EXPECT_EQ(data.uses().at(1).end, 2060);
    EXPECT_EQ(data.uses().at(2).end, 3060);
    EXPECT_EQ(data.uses().at(3).end, 4300);

    // On the chart too: the bar of a use whose end is 0 is one minute long.
    const ActivityData oneSample =
        ActivityData::fromRecords({use("a", Today + 9 * Hour + 10 * Minute, 0)}, Today);
    const ActivityData::Chart chart = oneSample.chart(Today, Today + Day);
    ASSERT_EQ(chart.lanes.size(), 2);
    ASSERT_EQ(chart.lanes.at(1).bars.size(), 1);
    EXPECT_EQ(chart.lanes.at(1).bars.first().end - chart.lanes.at(1).bars.first().start, Minute);
    EXPECT_EQ(chart.lanes.at(1).totalSeconds, Minute);
}

TEST(ActivityDataTest, TheChartWindowIsFittedToWholeHoursOfTheDay)
{
    struct Case {
        const char *what;
        QVariantList records;
        qint64 windowStart;
        qint64 windowEnd;
    };
    const qint64 t0 = Today;
    const QList<Case> cases{
        {"two uses in the day",
         {use("a", t0 + 9 * Hour + 10 * Minute, t0 + 9 * Hour + 50 * Minute),
          use("b", t0 + 14 * Hour + 5 * Minute, t0 + 14 * Hour + 20 * Minute)},
         t0 + 9 * Hour,
         t0 + 15 * Hour},
        {"a use ending on the hour",
         {use("a", t0 + 9 * Hour, t0 + 10 * Hour)},
         t0 + 9 * Hour,
         t0 + 10 * Hour},
        {"no use that day", {use("a", t0 - 5 * Hour, t0 - 4 * Hour)}, t0, t0 + Day},
        {"a use from the next midnight",
         {use("a", t0 + Day, t0 + Day + Hour)},
         t0 + Day,
         t0 + Day + Hour},
        {"a use from the evening before", {use("a", t0 - Hour, t0 + 30 * Minute)}, t0, t0 + Hour},
        {"a use past midnight",
         {use("a", t0 + 23 * Hour + 30 * Minute, t0 + Day + Hour)},
         t0 + 23 * Hour,
         t0 + Day + Hour},
    };
    for (const Case &c : cases) {
        const ActivityData::Chart chart =
            ActivityData::fromRecords(c.records, Today).chart(t0, t0 + Day);
        EXPECT_EQ(chart.windowStart, c.windowStart) << c.what;
        EXPECT_EQ(chart.windowEnd, c.windowEnd) << c.what;
    }
}

TEST(ActivityDataTest, ChartLanesHoldTheDaysUsesMostRecentFirst)
{
    const qint64 t0 = Today;
    const QVariantList records{use("a", t0 + 9 * Hour, t0 + 9 * Hour + 30 * Minute),
                               use("b", t0 + 10 * Hour, t0 + 11 * Hour),
                               use("a", t0 + 12 * Hour, t0 + 12 * Hour + 15 * Minute),
                               use("c", t0 + Day + Hour, t0 + Day + 2 * Hour),
                               use("d", t0 - Hour, t0 + 15 * Minute)};
    const ActivityData::Chart chart = ActivityData::fromRecords(records, Today).chart(t0, t0 + Day);
    QStringList names;
    for (const ActivityData::Lane &lane : chart.lanes)
        names << lane.name;
    // The last record is the most recent use: its application comes first.
    EXPECT_EQ(names, (QStringList{"", "d", "a", "b"}));
    // A use from the evening before counts from midnight on.
    EXPECT_EQ(chart.lanes.at(1).totalSeconds, 15 * Minute);
    EXPECT_EQ(chart.lanes.at(1).bars.first().start, t0);
    EXPECT_EQ(chart.lanes.at(2).totalSeconds, 45 * Minute);
    EXPECT_EQ(chart.lanes.at(2).bars.size(), 2);
    EXPECT_EQ(chart.lanes.at(3).totalSeconds, Hour);
    EXPECT_EQ(chart.lanes.at(0).totalSeconds, 2 * Hour);
    EXPECT_EQ(chart.lanes.at(0).bars.size(), 4);
    EXPECT_EQ(ActivityData::durationText(chart.lanes.at(0).totalSeconds), "2:00");
    EXPECT_EQ(ActivityData::durationText(90 * Minute + 59), "1:30");
    EXPECT_EQ(ActivityData::durationText(26 * Hour + 5 * Minute), "26:05");
}

TEST(ActivityDataTest, TheReportAddsUpMinutesInsideTheRange)
{
    struct Row {
        QString name;
        qint64 minutes;
        double share;
    };
    struct Case {
        const char *what;
        QVariantList records;
        qint64 from;
        qint64 to;
        QList<Row> rows;
    };
    const qint64 t0 = Today;
    const QList<Case> cases{
        {"shares",
         {use("a", t0 + Hour, t0 + Hour + 30 * Minute), use("b", t0 + 2 * Hour, t0 + 3 * Hour),
          use("b", t0 + 4 * Hour, t0 + 4 * Hour + 30 * Minute)},
         t0,
         t0 + Day,
         {{"", 120, 100}, {"b", 90, 75}, {"a", 30, 25}}},
        {"cut at the range's start, picked in either order",
         {use("a", t0 - Hour, t0 + 30 * Minute), use("b", t0 + 3 * Day, t0 + 3 * Day + Hour)},
         t0 + 2 * Day,
         t0,
         {{"", 30, 100}, {"a", 30, 100}}},
        {"cut at the range's end",
         {use("a", t0 + Day - 10 * Minute, t0 + Day + Hour)},
         t0,
         t0 + Day,
         {{"", 10, 100}, {"a", 10, 100}}},
        {"a use starting at the range's end counts nothing",
         {use("a", t0 + Day, t0 + Day + Hour)},
         t0,
         t0 + Day,
         {{"", 0, 100}}},
        {"a missing end is one minute",
         {use("a", t0 + Hour)},
         t0,
         t0 + Day,
         {{"", 1, 100}, {"a", 1, 100}}},
        {"nothing in the range", {}, t0, t0 + Day, {{"", 0, 100}}},
    };
    for (const Case &c : cases) {
        const QList<ActivityData::ReportRow> rows =
            ActivityData::fromRecords(c.records, Today).report(c.from, c.to);
        ASSERT_EQ(rows.size(), c.rows.size()) << c.what;
        EXPECT_TRUE(rows.first().isTotal) << c.what;
        for (qsizetype i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows.at(i).name, c.rows.at(i).name) << c.what;
            EXPECT_EQ(rows.at(i).minutes, c.rows.at(i).minutes) << c.what;
            EXPECT_DOUBLE_EQ(rows.at(i).share, c.rows.at(i).share) << c.what;
        }
    }
}

TEST(ActivityDataTest, ReadingAFileNeverChangesIt)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("ApplicationsUse.krvdata");
    EXPECT_FALSE(ActivityData::readFile(path));
    QFile damaged(path);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not an archive");
    damaged.close();
    EXPECT_FALSE(ActivityData::readFile(path));
    EXPECT_TRUE(QFile::exists(path));

    const QVariantList records{use("a", 100, 200)};
    QFile good(path);
    ASSERT_TRUE(good.open(QIODevice::WriteOnly | QIODevice::Truncate));
    good.write(KorvaleArchive::encode(records).bytes);
    good.close();
    const std::optional<QVariantList> read = ActivityData::readFile(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->size(), 1);
}
