// Saving a shared list file after another program changed it: the three-way merge of ListFile.

#include "BenchUtils.h"
#include "CommonKorvaleClass.h"
#include "ItemEditing.h"
#include "ListFile.h"
#include "ListMerge.h"
#include "SaveLock.h"
#include "ToDoItems.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimeZone>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>

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

// One of the programs saving in turn: `count` saves, each adding one task.
int saveInALoop(const QString &prefix, int count)
{
    ListFile file(DataFileName::ToDo, {}, &ToDoItems::sort);
    QVariantList list = file.read();
    const QDateTime start(QDate(2027, 1, 4), QTime(9, 0), QTimeZone::utc());
    for (int i = 0; i < count; ++i) {
        list.append(ToDoItems::newRecord(QStringLiteral("%1 %2").arg(prefix).arg(i), start, false));
        if (!file.save(list))
            return 1;
    }
    return 0;
}

struct Contention {
    double savesPerSecond[2] = {0, 0};
    qsizetype kept = 0;
    bool allExited = true;
};

// Two processes saving one list 1,000 times each, at the same time.
Contention saveFromTwoProcesses(int count)
{
    Contention result;
    CommonKorvaleClass::saveListInFile({}, DataFileName::ToDo);
    QProcess processes[2];
    QElapsedTimer timers[2];
    for (int i = 0; i < 2; ++i) {
        timers[i].start();
        processes[i].start(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("--saver"), QStringLiteral("P%1").arg(i), QString::number(count)});
    }
    for (int i = 0; i < 2; ++i) {
        result.allExited = processes[i].waitForFinished(600000) && processes[i].exitCode() == 0
            && result.allExited;
        result.savesPerSecond[i] = count / (double(timers[i].nsecsElapsed()) / 1e9);
    }
    result.kept = CommonKorvaleClass::readListInFile(DataFileName::ToDo).size();
    return result;
}

// The longest a save on the agent's main thread takes while another program holds the lock for
// a while: its short wait, then it gives up and keeps the change.
double mainThreadStallWhileLocked(int tries)
{
    SaveLock::setMainThreadWait(std::chrono::milliseconds(10));
    const QString path =
        CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::ToDo);
    std::atomic<bool> held{false}, release{false};
    std::thread holder([&] {
        const SaveLock lock(path, std::chrono::milliseconds(2000));
        held = true;
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    while (!held)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ListFile file(DataFileName::ToDo, {}, &ToDoItems::sort);
    QVariantList list = file.read();
    double longest = 0;
    for (int i = 0; i < tries; ++i) {
        QElapsedTimer timer;
        timer.start();
        file.save(list);
        longest = std::max(longest, double(timer.nsecsElapsed()) / 1e6);
    }
    release = true;
    holder.join();
    return longest;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--saver") == 0) {
        QCoreApplication app(argc, argv);
        return saveInALoop(QString::fromUtf8(argv[2]), std::atoi(argv[3]));
    }
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
    Bench::print("listmerge_save_10k_todos_10_changed_elsewhere_median_target", 150, "ms");

    const int saves = 1000;
    const Contention both = saveFromTwoProcesses(saves);
    Bench::print("listmerge_two_processes_saves_per_second_first", both.savesPerSecond[0],
                 "saves/s");
    Bench::print("listmerge_two_processes_saves_per_second_second", both.savesPerSecond[1],
                 "saves/s");
    Bench::print("listmerge_two_processes_records_kept", double(both.kept), "records");
    Bench::print("listmerge_two_processes_records_saved", 2.0 * saves, "records");
    Bench::print("listmerge_main_thread_stall_while_locked_max", mainThreadStallWhileLocked(50),
                 "ms");
    Bench::print("listmerge_main_thread_stall_while_locked_max_target", 16, "ms");
    if (!both.allExited || both.kept != 2 * saves) {
        std::fprintf(stderr, "bench_listmerge: two programs saving at once lost records\n");
        return 1;
    }
    return 0;
}
