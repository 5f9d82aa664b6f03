// Saving a shared list file after another program changed it: the three-way merge of ListFile.

#include "BenchUtils.h"
#include "CommonKorvaleClass.h"
#include "ItemEditing.h"
#include "ListFile.h"
#include "ListMerge.h"
#include "ToDoItems.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimeZone>

#include <cstdlib>

namespace {

QVariantList toDos(int count)
{
    const QDateTime start(QDate(2027, 1, 4), QTime(9, 0), QTimeZone::utc());
    QVariantList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i)
        list.append(ToDoItems::newRecord(QStringLiteral("Task %1: call about invoice").arg(i),
                                         start.addSecs(qint64(i) * 3600), i % 10 == 0));
    ToDoItems::sort(list);
    return list;
}

QVariantList applications(int count)
{
    QVariantList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i)
        list.append(QVariantMap{
            {QStringLiteral("x"), 1},
            {QStringLiteral("T"), QStringLiteral("Application %1").arg(i)},
            {QStringLiteral("P"),
             QStringLiteral("/usr/share/applications/org.example.app%1.desktop").arg(i)}});
    ItemEditing::sortApplications(list);
    return list;
}

struct Figures {
    Bench::Stats merged;
    Bench::Stats unchanged;
    bool kept = true;
};

// Each run: the file holds `stored`; this program reads it, another one changes ten records and
// saves, then this one changes one record and saves (timed). Also timed: the same save when
// nobody else wrote (the file is only hashed, not merged).
Figures measure(const QString &name, const QVariantList &stored,
                const ListMerge::Identity &identity, const ListFile::Sort &sort,
                const std::function<QVariantMap(const QVariantMap &)> &theirChange,
                const std::function<QVariantMap(const QVariantMap &)> &ourChange, int runs)
{
    Figures figures;
    std::vector<double> merged, unchanged;
    for (int run = 0; run < runs; ++run) {
        CommonKorvaleClass::saveListInFile(stored, name);
        ListFile mine(name, identity, sort);
        ListFile theirs(name, identity, sort);
        QVariantList ours = mine.read();
        QVariantList other = theirs.read();
        for (int i = 0; i < 10; ++i) {
            const qsizetype at = qsizetype(i) * (other.size() / 10);
            other[at] = theirChange(other.at(at).toMap());
        }
        theirs.save(other);
        ours[1] = ourChange(ours.at(1).toMap());

        QElapsedTimer timer;
        timer.start();
        mine.save(ours);
        merged.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (ours.size() != stored.size())
            figures.kept = false;

        ours[2] = ourChange(ours.at(2).toMap());
        timer.restart();
        mine.save(ours);
        unchanged.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    figures.merged = Bench::stats(merged);
    figures.unchanged = Bench::stats(unchanged);
    return figures;
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    setenv("XDG_DATA_HOME", home.path().toUtf8().constData(), 1);
    QCoreApplication app(argc, argv);
    const int runs = 11;

    const Figures toDo = measure(
        DataFileName::ToDo, toDos(10000), {}, &ToDoItems::sort,
        [](const QVariantMap &r) { return ToDoItems::toggledDone(r); },
        [](const QVariantMap &r) { return ToDoItems::postponed(r, ToDoItems::Step::Day); }, runs);
    const Figures apps = measure(
        DataFileName::Applications, applications(5000), &ListMerge::byPath,
        &ItemEditing::sortApplications,
        [](QVariantMap r) {
            r.insert(QStringLiteral("A"), QStringLiteral("ab"));
            return r;
        },
        [](QVariantMap r) {
            r.insert(QStringLiteral("K"), QStringLiteral("keywords"));
            return r;
        },
        runs);
    if (!toDo.kept || !apps.kept) {
        std::fprintf(stderr, "bench_listmerge: a merged save lost or doubled records\n");
        return 1;
    }

    Bench::print("listmerge_save_10k_todos_10_changed_elsewhere_median", toDo.merged.median, "ms");
    Bench::print("listmerge_save_10k_todos_10_changed_elsewhere_p95", toDo.merged.p95, "ms");
    Bench::print("listmerge_save_10k_todos_unchanged_elsewhere_median", toDo.unchanged.median,
                 "ms");
    Bench::print("listmerge_save_10k_todos_unchanged_elsewhere_p95", toDo.unchanged.p95, "ms");
    Bench::print("listmerge_save_5k_apps_10_changed_elsewhere_median", apps.merged.median, "ms");
    Bench::print("listmerge_save_5k_apps_10_changed_elsewhere_p95", apps.merged.p95, "ms");
    Bench::print("listmerge_save_5k_apps_unchanged_elsewhere_median", apps.unchanged.median, "ms");
    Bench::print("listmerge_save_5k_apps_unchanged_elsewhere_p95", apps.unchanged.p95, "ms");
    return 0;
}
