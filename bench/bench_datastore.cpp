// Saves and reads back 100,000 realistic records through the data store.

#include "BenchUtils.h"
#include "CommonKorvaleClass.h"
#include "KorvaleArchive.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimeZone>

#include <cstdlib>

namespace {

QVariantList realisticRecords(int count)
{
    static const char *words[] = {"report",  "budget",   "Café",    "notes",   "holiday",
                                  "invoice", "Ångström", "draft",   "meeting", "photos",
                                  "résumé",  "project",  "Firefox", "Terminal"};
    QRandomGenerator gen(42);
    auto word = [&gen]() { return QString::fromUtf8(words[gen.bounded(int(std::size(words)))]); };
    QVariantList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i) {
        switch (i % 3) {
        case 0:
            list.append(
                QVariantMap{{QStringLiteral("x"), 1},
                            {QStringLiteral("T"), word() + QLatin1Char(' ') + word()},
                            {QStringLiteral("P"),
                             QStringLiteral("/usr/share/applications/org.example.%1%2.desktop")
                                 .arg(word())
                                 .arg(i)}});
            break;
        case 1:
            list.append(QVariantMap{{QStringLiteral("x"), 2},
                                    {QStringLiteral("T"), word() + QStringLiteral(".odt")},
                                    {QStringLiteral("P"),
                                     QStringLiteral("/home/user/Documents/%1/%2/%3-%4.odt")
                                         .arg(word(), word(), word())
                                         .arg(i)},
                                    {QStringLiteral("D"), 0},
                                    {QStringLiteral("K"), word()}});
            break;
        default:
            list.append(QVariantMap{
                {QStringLiteral("x"), 5},
                {QStringLiteral("T"),
                 word() + QLatin1Char(' ') + word() + QLatin1Char(' ') + word()},
                {QStringLiteral("t"),
                 (word() + QLatin1Char(' ')).repeated(20) + QLatin1Char('\n') + word()},
                {QStringLiteral("Date"),
                 QDateTime::fromMSecsSinceEpoch(1796776800000LL + i * 1000LL, QTimeZone::utc())}});
        }
    }
    return list;
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    setenv("XDG_DATA_HOME", home.path().toUtf8().constData(), 1);
    QCoreApplication app(argc, argv);

    const int count = 100000;
    const QVariantList records = realisticRecords(count);
    const QString name = QStringLiteral("Bench.krvdata");
    const int runs = 9;

    const auto save = Bench::stats(
        Bench::timeRuns(runs, [&] { CommonKorvaleClass::saveListInFile(records, name); }));
    QByteArray encoded;
    const auto encode = Bench::stats(
        Bench::timeRuns(runs, [&] { encoded = KorvaleArchive::encode(records).bytes; }));
    QVariant decoded;
    const auto decode = Bench::stats(
        Bench::timeRuns(runs, [&] { decoded = KorvaleArchive::decode(encoded).value; }));
    QVariantList back;
    const auto read = Bench::stats(
        Bench::timeRuns(runs, [&] { back = CommonKorvaleClass::readListInFile(name); }));
    if (back != records) {
        std::fprintf(stderr, "bench_datastore: the list read back differs from the one saved\n");
        return 1;
    }
    const qint64 size =
        QFileInfo(CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(name)).size();

    Bench::print("datastore_save_100k_median", save.median, "ms");
    Bench::print("datastore_save_100k_p95", save.p95, "ms");
    Bench::print("datastore_read_100k_median", read.median, "ms");
    Bench::print("datastore_read_100k_p95", read.p95, "ms");
    Bench::print("datastore_encode_100k_median", encode.median, "ms");
    Bench::print("datastore_decode_100k_median", decode.median, "ms");
    Bench::print("datastore_file_size_100k", double(size) / 1e6, "MB");
    return 0;
}
