// Indexing the included folders: the first index of a large tree on the index's thread, with the
// main thread watched for stalls, a rescan of the unchanged tree (which must write nothing), and
// the memory the indexed list holds.
#include "BenchMainThread.h"
#include "BenchUtils.h"
#include "DocumentIndex.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr int TopFolders = 100;
constexpr int SubFoldersEach = 100; // 10,000 folders below the top ones
constexpr int FilesEach = 10; // 100,000 files

void buildTree(const QString &root)
{
    for (int top = 0; top < TopFolders; ++top) {
        for (int sub = 0; sub < SubFoldersEach; ++sub) {
            const QString folder = root + QStringLiteral("/project %1/part %2").arg(top).arg(sub);
            QDir().mkpath(folder);
            for (int file = 0; file < FilesEach; ++file) {
                QFile(folder + QStringLiteral("/report-%1-%2-%3.odt").arg(top).arg(sub).arg(file))
                    .open(QIODevice::WriteOnly);
            }
        }
    }
}

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// From the request to the list handed back, with the main thread's longest stall meanwhile.
struct Timed {
    double ms = 0;
    double longestStall = 0;
    double longestEventCpu = 0;
};

Timed timeIndex(Bench::TimedApplication &app, DocumentIndex &index,
                const std::function<void()> &start)
{
    QEventLoop loop;
    const QMetaObject::Connection done =
        QObject::connect(&index, &DocumentIndex::indexed, &loop, &QEventLoop::quit);
    Bench::Heartbeat heartbeat;
    app.longestEventCpuMs = 0;
    app.measuring = true;
    heartbeat.start();
    QElapsedTimer timer;
    timer.start();
    start();
    loop.exec();
    Timed timed{double(timer.nsecsElapsed()) / 1e6, heartbeat.stop(), app.longestEventCpuMs};
    app.measuring = false;
    QObject::disconnect(done);
    return timed;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Bench::TimedApplication app(argc, argv);
    QTemporaryDir tree, data;
    buildTree(tree.path());
    const double idleMiB = residentMiB();

    DocumentIndex::Options options;
    options.file = data.path() + QStringLiteral("/Documents.krvdata");
    DocumentIndex index(options);
    const Timed first = timeIndex(app, index, [&] { index.setFolders({tree.path()}); });
    Bench::print("documents_first_index_100000_files", first.ms, "ms");
    Bench::print("documents_first_index_target", 3000, "ms");
    Bench::print("documents_first_index_longest_stall", first.longestStall, "ms");
    Bench::print("documents_first_index_longest_event_cpu", first.longestEventCpu, "ms");
    Bench::print("documents_main_thread_stall_target", 16, "ms");
    Bench::print("documents_indexed", double(index.documents().size()), "entries");
    Bench::print("documents_file_size", double(QFile(options.file).size()) / (1024.0 * 1024.0),
                 "MB");
    Bench::print("documents_idle_resident", idleMiB, "MB");
    Bench::print("documents_indexed_resident", residentMiB(), "MB");

    const int writes = index.writeCount();
    std::vector<double> rescans, stalls;
    for (int run = 0; run < 9; ++run) {
        const Timed rescan = timeIndex(app, index, [&] { index.rescan(); });
        rescans.push_back(rescan.ms);
        stalls.push_back(rescan.longestStall);
    }
    const Bench::Stats rescan = Bench::stats(rescans);
    Bench::print("documents_unchanged_rescan_median", rescan.median, "ms");
    Bench::print("documents_unchanged_rescan_p95", rescan.p95, "ms");
    Bench::print("documents_unchanged_rescan_target", 300, "ms");
    Bench::print("documents_unchanged_rescan_longest_stall_p95", Bench::stats(stalls).p95, "ms");
    Bench::print("documents_unchanged_rescan_writes", double(index.writeCount() - writes),
                 "files");

    // One file added: the walk reads that folder again and the whole list is compared and saved.
    QFile(tree.path() + QStringLiteral("/project 7/part 7/added.odt")).open(QIODevice::WriteOnly);
    const Timed changed = timeIndex(app, index, [&] { index.rescan(); });
    Bench::print("documents_rescan_one_file_added", changed.ms, "ms");
    Bench::print("documents_rescan_one_file_added_longest_stall", changed.longestStall, "ms");
    return 0;
}
