// Indexing the included folders: the first index of a large tree on the index's thread, with the
// main thread watched for stalls, a rescan of the unchanged tree (which must write nothing), and
// the memory the indexed list holds.
#include "BenchAgent.h"
#include "BenchHome.h"
#include "BenchMainThread.h"
#include "BenchUtils.h"
#include "DocumentIndex.h"
#include "platform/DBusNotificationCenter.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

using BenchHome::buildTree;

double residentMiB(const QString &process = QStringLiteral("self"))
{
    QFile status(QStringLiteral("/proc/%1/status").arg(process));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// The real agent in a fresh home, idle, and in a home whose documents folder holds the tree: the
// default included folders take in ~/Documents. Resident memory 2 s after its index is done.
int agentMemory()
{
    if (!QDBusConnection::sessionBus().isConnected()) {
        std::fprintf(stderr, "bench_documents --agent: run it under scripts/with-session.sh\n");
        return 1;
    }
    const QString program =
        QCoreApplication::applicationDirPath() + QStringLiteral("/korvale-daemon");
    auto run = [&](bool withTree, double *indexMs) {
        QTemporaryDir home;
        if (withTree)
            buildTree(home.path() + QStringLiteral("/Documents"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + "/.config");
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + "/.local/share");
        QProcess agent;
        agent.setProcessEnvironment(environment);
        agent.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        clock.start();
        agent.start(program, {});
        if (!agent.waitForStarted(5000))
            return -1.0;
        BenchHome::waitIndexed(withTree ? BenchHome::TreeEntries : 0, 120000);
        *indexMs = double(clock.nsecsElapsed()) / 1e6;
        QThread::msleep(2000);
        const double resident = residentMiB(QString::number(agent.processId()));
        agent.terminate();
        if (!agent.waitForFinished(10000))
            agent.kill();
        return resident;
    };
    double idleMs = 0, indexedMs = 0;
    const double idle = run(false, &idleMs);
    const double indexed = run(true, &indexedMs);
    Bench::print("documents_agent_idle_resident", idle, "MB");
    Bench::print("documents_agent_100000_indexed_resident", indexed, "MB");
    Bench::print("documents_agent_100000_indexed_added", indexed - idle, "MB");
    Bench::print("documents_agent_100000_start_to_indexed", indexedMs, "ms");
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
    if (argc > 1 && qstrcmp(argv[1], "--agent") == 0) {
        QCoreApplication app(argc, argv);
        return agentMemory();
    }
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
    Bench::print("documents_unchanged_rescan_writes", double(index.writeCount() - writes), "files");

    // One file added: the walk reads that folder again and the whole list is compared and saved.
    QFile(tree.path() + QStringLiteral("/project 7/part 7/added.odt")).open(QIODevice::WriteOnly);
    const Timed changed = timeIndex(app, index, [&] { index.rescan(); });
    Bench::print("documents_rescan_one_file_added", changed.ms, "ms");
    Bench::print("documents_rescan_one_file_added_longest_stall", changed.longestStall, "ms");
    return 0;
}
