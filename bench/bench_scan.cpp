// Scanning a large tree of application folders: the walk, the whole scan with its merge, and a
// rescan that finds nothing new (which must not write the list file).
#include "ApplicationFolderWalk.h"
#include "ApplicationScanner.h"
#include "BenchHome.h"
#include "BenchUtils.h"
#include "CommonKorvaleClass.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <ctime>

namespace {

double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The processor time a piece of work takes, all threads together: a steadier figure than the
// elapsed time on a busy machine.
template <typename Work> double cpuMs(Work &&work)
{
    const double start = processCpuMs();
    work();
    return processCpuMs() - start;
}

constexpr int DesktopEntries = 5000;
constexpr int TopFolders = 200;
constexpr int SubFoldersEach = 100; // 20,000 folders below the top ones

using BenchHome::desktopEntry;

void buildTree(const QString &root)
{
    for (int top = 0; top < TopFolders; ++top) {
        const QString topFolder = root + QStringLiteral("/group%1").arg(top);
        for (int sub = 0; sub < SubFoldersEach; ++sub)
            QDir().mkpath(topFolder + QStringLiteral("/sub%1").arg(sub));
    }
    for (int index = 0; index < DesktopEntries; ++index) {
        // A quarter at the top, the rest spread through the subfolders.
        const QString folder = index % 4 == 0 ? root
                                              : root
                + QStringLiteral("/group%1/sub%2")
                      .arg(index % TopFolders)
                      .arg(index % SubFoldersEach);
        QFile file(folder + QStringLiteral("/app%1.desktop").arg(index));
        if (file.open(QIODevice::WriteOnly))
            file.write(desktopEntry(index));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/.local/share").toUtf8());
    QCoreApplication app(argc, argv);
    const QString root = home.path() + QStringLiteral("/applications");
    buildTree(root);

    const std::vector<double> walks = Bench::timeRuns(9, [&root] {
        const QVariantList found = ApplicationScanner::scanFolders({root});
        if (found.size() != DesktopEntries - DesktopEntries / 10)
            std::fprintf(stderr, "unexpected count %lld\n", qlonglong(found.size()));
    });
    const Bench::Stats walk = Bench::stats(walks);
    Bench::print("scan_walk_5000_entries_20000_folders_median", walk.median, "ms");
    Bench::print("scan_walk_5000_entries_20000_folders_p95", walk.p95, "ms");

    // The walk alone again, with what the previous walk learnt.
    const auto cache = std::make_shared<ApplicationScanCache>();
    ApplicationScanner::scanFolders({root}, cache);
    const Bench::Stats cachedWalk = Bench::stats(
        Bench::timeRuns(9, [&root, &cache] { ApplicationScanner::scanFolders({root}, cache); }));
    Bench::print("scan_walk_unchanged_median", cachedWalk.median, "ms");
    Bench::print("scan_walk_unchanged_p95", cachedWalk.p95, "ms");

    ApplicationScanner scanner;
    scanner.setApplicationsFolders({root});
    const auto scanOnce = [&scanner] {
        scanner.launchScanApplicationsProcess();
        scanner.waitForScan(60000);
    };
    const std::vector<double> first = Bench::timeRuns(1, scanOnce);
    Bench::print("scan_first_with_save", first.front(), "ms");

    const QString listFile =
        CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::Applications);
    const QDateTime saved = QFileInfo(listFile).lastModified();
    int changedScans = 0;
    QObject::connect(&scanner, &ApplicationScanner::applicationsListChanged,
                     [&changedScans] { ++changedScans; });
    const Bench::Stats rescan = Bench::stats(Bench::timeRuns(9, scanOnce));
    Bench::print("rescan_unchanged_median", rescan.median, "ms");
    Bench::print("rescan_unchanged_p95", rescan.p95, "ms");
    std::vector<double> rescanCpu;
    for (int run = 0; run < 9; ++run)
        rescanCpu.push_back(cpuMs(scanOnce));
    Bench::print("rescan_unchanged_cpu_median", Bench::stats(rescanCpu).median, "ms");
    std::vector<double> walkCpu;
    for (int run = 0; run < 5; ++run)
        walkCpu.push_back(cpuMs([&root] { ApplicationScanner::scanFolders({root}); }));
    Bench::print("scan_walk_cpu_median", Bench::stats(walkCpu).median, "ms");
    const bool touched = QFileInfo(listFile).lastModified() != saved;
    Bench::print("rescan_unchanged_writes", double(changedScans + (touched ? 1 : 0)), "files");
    return 0;
}
