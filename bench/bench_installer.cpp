// The installer's figures: the size of the installer folder and of the Debian package, and how
// long qor-installer's run takes to install and uninstall the suite in a fresh home.
// Usage: bench_installer [INSTALLER_FOLDER] [DEB]
#include "BenchUtils.h"

#include "InstallRun.h"
#include "InstallScript.h"
#include "InstallerSystem.h"
#include "KorvaleLog.h"
#include "QOR_StringUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

class SilentDelegate : public InstallRunDelegate
{
    void displayProgress(const QString &) override { }
    void showProgressInfo(const QString &, const QString &) override { }
    bool askAboutRefusedItem(const QString &) override { return false; }
};

double folderSize(const QString &folder)
{
    qint64 bytes = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        bytes += QFileInfo(it.next()).size();
    return double(bytes);
}

// One run of a step list in a home of its own; false when it failed.
bool runSteps(const QString &resources, const QString &home, const QStringList &steps, bool pauses)
{
    InstallerSystem system;
    SilentDelegate delegate;
    InstallRun run(system, delegate);
    run.mResourceFolder = resources;
    run.mPaths.applicationsFolder = home + QStringLiteral("/.local/opt");
    run.mPaths.installedBundle = run.mPaths.applicationsFolder + QStringLiteral("/korvale");
    run.mPaths.homeFolder = home;
    run.mPaths.desktopFolder = home + QStringLiteral("/Desktop");
    run.mPaths.dataHome = home + QStringLiteral("/.local/share");
    run.mPaths.configHome = home + QStringLiteral("/.config");
    run.mPauses = pauses;
    return !run.run(steps);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QOR_StringUtils::installTranslations(QLocale(QLocale::English));
    KorvaleLog::setSink([](const QString &) {}); // the run logs each step
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QStringLiteral(KORVALE_BINARY_DIR "/qor-installer");
    const QString resources = folder + QStringLiteral("/resources");
    const InstallScript script = InstallScriptReader::readScriptInFolder(resources);
    if (!script.isCorrect() || !script.uninstallSteps) {
        std::fprintf(stderr, "no installer folder at %s (build korvale_installer_folder)\n",
                     qPrintable(folder));
        return 1;
    }
    Bench::print("installer_folder_size", folderSize(folder) / 1e6, "MB");
    Bench::print("installer_folder_files",
                 double(QDir(resources + QStringLiteral("/korvale/bin")).count() - 2), "programs");

    QString deb = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (deb.isEmpty()) {
        const QStringList debs = QDir(QStringLiteral(KORVALE_BINARY_DIR "/packages"))
                                     .entryList({QStringLiteral("korvale_*.deb")}, QDir::Files);
        if (!debs.isEmpty())
            deb = QStringLiteral(KORVALE_BINARY_DIR "/packages/") + debs.first();
    }
    if (!deb.isEmpty())
        Bench::print("deb_package_size", double(QFileInfo(deb).size()) / 1e6, "MB");

    // The home lives on the disk the user's home would be on, not in a memory file system.
    const QString base = QDir::homePath() + QStringLiteral("/.cache/korvale-bench-XXXXXX");
    QDir().mkpath(QDir::homePath() + QStringLiteral("/.cache"));
    QTemporaryDir homes(base);
    bool failed = false;
    std::vector<double> installMs;
    std::vector<double> uninstallMs;
    for (int index = 0; index < 9; ++index) {
        const QString home = homes.filePath(QString::number(index));
        installMs.push_back(Bench::timeRuns(1, [&] {
                                failed = !runSteps(resources, home, *script.installSteps, false)
                                    || failed;
                            }).front());
        uninstallMs.push_back(Bench::timeRuns(1, [&] {
                                  failed = !runSteps(resources, home, *script.uninstallSteps, false)
                                      || failed;
                              }).front());
    }
    const Bench::Stats install = Bench::stats(installMs);
    const Bench::Stats uninstall = Bench::stats(uninstallMs);
    Bench::print("install_run_median", install.median, "ms");
    Bench::print("install_run_p95", install.p95, "ms");
    Bench::print("uninstall_run_median", uninstall.median, "ms");
    Bench::print("uninstall_run_p95", uninstall.p95, "ms");

    // As the user sees it: with the pauses that let each step be read.
    const QString home = homes.filePath(QStringLiteral("paused"));
    const auto paused = Bench::timeRuns(
        1, [&] { failed = !runSteps(resources, home, *script.installSteps, true) || failed; });
    Bench::print("install_run_with_pauses", paused.front(), "ms");
    if (failed) {
        std::fprintf(stderr, "a run failed\n");
        return 1;
    }
    return 0;
}
