// The manager's activity report over a year and the chart of one day, from a use file of five
// years (about 100,000 intervals and 1,800 day summaries), as the windows compute them.
#include "ActivityData.h"
#include "BenchUtils.h"
#include "KorvaleArchive.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    constexpr qint64 Day = 86400;
    constexpr int Years = 5;
    constexpr int Days = 365 * Years;
    const qint64 firstDay = 8000 * Day;
    const QStringList names{"org.gnome.TextEditor",
                            "firefox-esr",
                            "org.gnome.Terminal",
                            "thunderbird",
                            "libreoffice-calc",
                            "code",
                            "org.gnome.Nautilus",
                            "gimp",
                            "vlc",
                            "xterm",
                            "org.gnome.Calculator",
                            "evince"};
    QRandomGenerator random(28);
    QVariantList records;
    // 55 intervals a day of 2 to 20 minutes, one after the other from 8:00.
    for (int day = 0; day < Days; ++day) {
        qint64 moment = firstDay + day * Day + 8 * 3600;
        for (int i = 0; i < 55; ++i) {
            const qint64 length = 120 + random.bounded(1080);
            QVariantMap use{{"N", names.at(random.bounded(int(names.size())))}, {"D", moment}};
            // One in fifty without an end, as a last sample before the agent stopped.
            if (random.bounded(50) != 0)
                use.insert("T", moment + length);
            records << use;
            moment += length;
        }
    }
    for (int day = 0; day < Days; ++day) {
        QVariantMap set;
        for (int i = 0; i < 6; ++i)
            set.insert(names.at(random.bounded(int(names.size()))), 0);
        records << QVariantMap{{"M", KorvaleArchive::encode(set).bytes},
                               {"D", firstDay + day * Day}};
    }
    const qint64 today = firstDay + Days * Day;
    Bench::print("activity_records", double(records.size()), "records");

    // The file's records sorted out once, as opening the windows does.
    ActivityData data;
    const Bench::Stats load =
        Bench::stats(Bench::timeRuns(9, [&] { data = ActivityData::fromRecords(records, today); }));
    Bench::print("activity_levels_median", load.median, "ms");
    Bench::print("activity_levels_p95", load.p95, "ms");

    // From the file: read, decode, sort out and add up a year, as opening the report does.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("ApplicationsUse.krvdata"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(KorvaleArchive::encode(records).bytes);
    }
    const Bench::Stats opened = Bench::stats(Bench::timeRuns(9, [&] {
        const std::optional<QVariantList> read = ActivityData::readFile(path);
        data = ActivityData::fromRecords(read.value_or(QVariantList()), today);
        data.report(today - 365 * Day, today);
    }));
    Bench::print("activity_open_file_and_report_year_median", opened.median, "ms");
    Bench::print("activity_open_file_and_report_year_p95", opened.p95, "ms");

    qsizetype rows = 0;
    const Bench::Stats report = Bench::stats(
        Bench::timeRuns(21, [&] { rows += data.report(today - 365 * Day, today).size(); }));
    Bench::print("activity_report_year_median", report.median, "ms");
    Bench::print("activity_report_year_p95", report.p95, "ms");

    qsizetype lanes = 0;
    int run = 0;
    const Bench::Stats chart = Bench::stats(Bench::timeRuns(21, [&] {
        const qint64 day = today - (1 + run++ % 300) * Day;
        lanes += data.chart(day, day + Day).lanes.size();
    }));
    Bench::print("activity_chart_day_median", chart.median, "ms");
    Bench::print("activity_chart_day_p95", chart.p95, "ms");
    return rows > 0 && lanes > 0 ? 0 : 1;
}
