#include "InstallerFixture.h"

#include "InstallScript.h"
#include "platform/AutostartEntry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>

#include <memory>

#include <unistd.h>

namespace {

// One run of the project's script against a temporary home, with the "/Applications" of that
// home.
class InstallRunTest : public ::testing::Test
{
protected:
    TemporaryHome home;
    QTemporaryDir installerFolder;
    QString resources;
    InstallScript script;
    RecordingDelegate delegate;
    std::unique_ptr<InstallRun> mLast;

    void SetUp() override
    {
        resources = makeResourceFolder(installerFolder.filePath(QStringLiteral("resources")),
                                       QStringLiteral("2.0"));
        script = InstallScriptReader::readScriptInFolder(resources);
        ASSERT_TRUE(script.isCorrect());
    }

    InstallPaths paths() const
    {
        InstallPaths paths = InstallPaths::forCurrentUser(script.bundleName);
        paths.applicationsFolder = home.path() + QStringLiteral("/.local/opt");
        paths.installedBundle = paths.applicationsFolder + QStringLiteral("/korvale");
        return paths;
    }
    QString prefix() const { return paths().installedBundle; }
    QString applications() const
    {
        return home.path() + QStringLiteral("/.local/share/applications");
    }
    QString trash() const { return home.path() + QStringLiteral("/.local/share/Trash/files"); }

    // Runs a list; true when it failed.
    bool run(InstallerSystem &system, const QStringList &steps, InstallRun **kept = nullptr)
    {
        mLast = std::make_unique<InstallRun>(system, delegate);
        InstallRun *last = mLast.get();
        last->mResourceFolder = resources;
        last->mPaths = paths();
        last->mPauses = false;
        if (kept)
            *kept = last;
        return last->run(steps);
    }

    // Every file the suite has under the home folder, the Trash left out.
    QStringList suiteFiles() const
    {
        QStringList files;
        QDirIterator it(home.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next().mid(home.path().size());
            if (!file.startsWith(QLatin1String("/.local/share/Trash")))
                files.append(file);
        }
        files.sort();
        return files;
    }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
    static void write(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
};

TEST_F(InstallRunTest, InstallsTheSuiteInTheUsersPrefix)
{
    // An older install's login entry, named after the program.
    const QString autostart = home.path() + QStringLiteral("/.config/autostart");
    ASSERT_TRUE(QDir().mkpath(autostart));
    QFile old(autostart + QStringLiteral("/korvale-daemon.desktop"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(AutostartEntry::contentsFor(prefix() + QStringLiteral("/bin/korvale-daemon")));
    old.close();

    InstallerSystem system;
    EXPECT_FALSE(run(system, *script.installSteps));

    EXPECT_EQ(InstallPaths::bundleVersion(prefix()), "2.0");
    EXPECT_TRUE(QFileInfo(prefix() + QStringLiteral("/bin/korvale-daemon")).isExecutable());
    const QByteArray manager =
        contents(applications() + QStringLiteral("/korvale-manager.desktop"));
    EXPECT_TRUE(manager.contains("\nExec=\"" + prefix().toUtf8() + "/bin/korvale-manager\"\n"))
        << manager.toStdString();
    EXPECT_TRUE(manager.contains("\nTryExec=" + prefix().toUtf8() + "/bin/korvale-manager\n"));
    EXPECT_FALSE(manager.contains("@BUNDLE@"));
    EXPECT_TRUE(QFileInfo::exists(applications() + QStringLiteral("/korvale-browser.desktop")));
    EXPECT_TRUE(QFileInfo::exists(
        home.path() + QStringLiteral("/.local/share/icons/hicolor/scalable/apps/korvale.svg")));
    // The agent starts at login, in the form the manager's login-item switch reads, under the
    // application id it gives the desktop portal; the entry of an older install gives way.
    const AutostartEntry agent = AutostartEntry::read(
        home.path() + QStringLiteral("/.config/autostart/org.korvale.Daemon.desktop"));
    EXPECT_FALSE(QFileInfo::exists(home.path()
                                   + QStringLiteral("/.config/autostart/korvale-daemon.desktop")));
    EXPECT_TRUE(QFileInfo::exists(applications() + QStringLiteral("/org.korvale.Daemon.desktop")));
    EXPECT_EQ(agent.program, prefix() + QStringLiteral("/bin/korvale-daemon"));
    EXPECT_TRUE(agent.enabled);
    EXPECT_TRUE(agent.writtenByKorvale);
    // The agent offered to the desktop's search, in the user's folders KRunner reads.
    EXPECT_TRUE(contents(home.path()
                         + QStringLiteral("/.local/share/gnome-shell/search-providers/"
                                          "korvale-search-provider.ini"))
                    .contains("\nObjectPath=/org/korvale/SearchProvider\n"));
    EXPECT_TRUE(
        contents(home.path()
                 + QStringLiteral("/.local/share/krunner/dbusplugins/korvale-runner.desktop"))
            .contains("\nX-Plasma-DBusRunner-Path=/org/korvale/Runner\n"));

    EXPECT_EQ(delegate.counters.size(), InstallRun::actingSteps(*script.installSteps).size());
    EXPECT_EQ(delegate.counters.last(), QStringLiteral("%1/%1").arg(delegate.counters.size()));
    EXPECT_TRUE(delegate.askedAbout.isEmpty());
}

// The progress list reads from its first step to its last: each number from 1 has its one line,
// and no two lines say the same (the bundle and its icon share a base name, the data folder and
// the bundle differ only in case).
TEST_F(InstallRunTest, ProgressLinesAreNumberedFromOneAndNameEachItem)
{
    InstallerSystem system;
    const QString dataFolder = home.dataFolder();
    for (const QStringList &steps : {*script.installSteps, *script.uninstallSteps}) {
        QDir().mkpath(dataFolder);
        delegate.counters.clear();
        delegate.lines.clear();
        EXPECT_FALSE(run(system, steps));
        const qsizetype total = delegate.counters.size();
        ASSERT_GT(total, 2);
        EXPECT_EQ(delegate.lines.size(), total) << delegate.lines.join('\n').toStdString();
        QStringList texts;
        for (qsizetype step = 1; step <= total; ++step) {
            const QString counter = QStringLiteral("%1/%2").arg(step).arg(total);
            EXPECT_EQ(delegate.counters.value(step - 1), counter);
            EXPECT_TRUE(delegate.lines.value(step - 1).startsWith(counter + QStringLiteral(" - ")))
                << delegate.lines.join('\n').toStdString();
            texts.append(delegate.lines.value(step - 1).section(QStringLiteral(" - "), 1));
        }
        EXPECT_EQ(texts.removeDuplicates(), 0) << texts.join('\n').toStdString();
    }
}

// The older copy goes to the Trash whole, so nothing of it (a file the new version no longer
// has) stays in the prefix.
TEST_F(InstallRunTest, InstallOverAnOlderVersionRecyclesIt)
{
    write(prefix() + QStringLiteral("/share/korvale/version"), "1.0\n");
    write(prefix() + QStringLiteral("/bin/korvale-old-tool"), "old");
    InstallerSystem system;
    EXPECT_FALSE(run(system, *script.installSteps));

    EXPECT_EQ(InstallPaths::bundleVersion(prefix()), "2.0");
    EXPECT_FALSE(QFileInfo::exists(prefix() + QStringLiteral("/bin/korvale-old-tool")));
    EXPECT_EQ(InstallPaths::bundleVersion(trash() + QStringLiteral("/korvale")), "1.0");
}

TEST_F(InstallRunTest, UninstallRemovesTheSuiteAndTheSettings)
{
    InstallerSystem system;
    ASSERT_FALSE(run(system, *script.installSteps));
    write(home.dataFolder() + QStringLiteral("/Notes.krvdata"), "notes");
    write(home.configFolder() + QStringLiteral("/preferences.cbor"), "prefs");
    write(home.path() + QStringLiteral("/.local/share/applications/other.desktop"), "other");

    EXPECT_FALSE(run(system, *script.uninstallSteps));
    EXPECT_EQ(suiteFiles(), QStringList({"/.local/share/applications/other.desktop"}));
}

TEST_F(InstallRunTest, UninstallKeepingTheSettingsLeavesDataAndPreferences)
{
    InstallerSystem system;
    ASSERT_FALSE(run(system, *script.installSteps));
    write(home.dataFolder() + QStringLiteral("/Notes.krvdata"), "notes");
    write(home.configFolder() + QStringLiteral("/preferences.cbor"), "prefs");

    EXPECT_FALSE(run(system, *script.uninstallIgnoreSettingsSteps));
    EXPECT_EQ(suiteFiles(),
              QStringList({"/.config/Korvale/preferences.cbor",
                           "/.local/share/Korvale/Data/Notes.krvdata"}));
}

// "_quit" ends the programs started from the prefix and waits for them before the prefix goes.
TEST_F(InstallRunTest, UninstallQuitsTheRunningAgentFirst)
{
    InstallerSystem system;
    ASSERT_FALSE(run(system, *script.installSteps));
    // Detached, as the desktop starts it: not a child left for this process to reap.
    qint64 agent = 0;
    ASSERT_TRUE(QProcess::startDetached(prefix() + QStringLiteral("/bin/korvale-daemon"),
                                        {QStringLiteral("600")}, QString(), &agent));
    ASSERT_TRUE(system.isProcessRunning(agent));

    EXPECT_FALSE(run(system, *script.uninstallSteps));
    EXPECT_FALSE(system.isProcessRunning(agent));
    EXPECT_FALSE(QFileInfo::exists(prefix()));
}

// The Trash refuses, the desktop too; the user removes the item by hand and says so.
TEST_F(InstallRunTest, TrashFailureAnsweredByTheUserWhoRemovedTheItem)
{
    InstallerSystem system;
    ASSERT_FALSE(run(system, *script.installSteps));
    RefusingSystem refusing;
    delegate.answer = [](const QString &path) {
        return QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path);
    };
    InstallRun *uninstall = nullptr;
    EXPECT_FALSE(run(refusing, *script.uninstallSteps, &uninstall));

    EXPECT_EQ(delegate.askedAbout.first(), prefix());
    EXPECT_FALSE(QFileInfo::exists(prefix()));
    // The item each step asked about is gone and the flags of the last one were cleared.
    EXPECT_FALSE(uninstall->mErrorMovingToTrash);
    EXPECT_FALSE(uninstall->mErrorMovingToDesktop);
    EXPECT_TRUE(uninstall->errorList().isEmpty());
}

// Said to be removed but still there: the step fails rather than report a removal that did not
// happen.
TEST_F(InstallRunTest, TrashFailureConfirmedWithoutRemovingStopsTheRun)
{
    InstallerSystem system;
    ASSERT_FALSE(run(system, *script.installSteps));
    RefusingSystem refusing;
    delegate.answer = [](const QString &) { return true; };
    EXPECT_TRUE(run(refusing, *script.uninstallSteps));
    EXPECT_TRUE(QFileInfo::exists(prefix()));
}

TEST_F(InstallRunTest, TrashFailureInterruptedListsTheTrashError)
{
    InstallerSystem system;
    ASSERT_FALSE(run(system, *script.installSteps));
    RefusingSystem refusing;
    refusing.refuseMoves = false; // the desktop takes what the Trash refused
    InstallRun *uninstall = nullptr;
    EXPECT_FALSE(run(refusing, *script.uninstallIgnoreSettingsSteps, &uninstall));
    EXPECT_TRUE(delegate.askedAbout.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)
                                  + "/korvale"));
    EXPECT_TRUE(uninstall->mErrorMovingToTrash);
    EXPECT_FALSE(uninstall->mErrorMovingToDesktop);

    // Now nothing takes it: "_trashNoErr" asks, the user interrupts, and the run stops there.
    ASSERT_FALSE(run(system, *script.installSteps));
    refusing.refuseMoves = true;
    delegate.answer = [](const QString &) { return false; };
    EXPECT_TRUE(run(refusing, *script.uninstallSteps, &uninstall));
    EXPECT_EQ(delegate.askedAbout, QStringList({prefix()}));
    EXPECT_EQ(uninstall->errorList().count(QLatin1Char('\n')), 2);
    EXPECT_TRUE(uninstall->mErrorMovingToTrash);
    EXPECT_TRUE(uninstall->mErrorMovingToDesktop);
    // Stopped at the second step: the desktop entries are still in place.
    EXPECT_TRUE(QFileInfo::exists(applications() + QStringLiteral("/korvale-manager.desktop")));
}

// Every file under a folder with its bytes, by relative path; empty for a missing folder.
QMap<QString, QByteArray> treeOf(const QString &folder)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        tree.insert(path.mid(folder.size()), file.readAll());
    }
    return tree;
}

QString desktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

// The Trash refuses the installed bundle and the desktop is on another file system; the bundle's
// folder does not let it go. The copy made on the desktop is taken back, the bundle stays whole
// where it was, and the report says it was moved neither to the Trash nor to the desktop.
TEST_F(InstallRunTest, AnItemThatCannotBeRemovedIsLeftWholeInPlace)
{
    InstallerSystem system;
    ASSERT_FALSE(run(system, *script.installSteps));
    const QMap<QString, QByteArray> installed = treeOf(prefix());
    ASSERT_FALSE(installed.isEmpty());

    StuckOriginalSystem stuck;
    stuck.desktop = desktopFolder();
    InstallRun *uninstall = nullptr;
    EXPECT_TRUE(run(stuck, *script.uninstallSteps, &uninstall));

    EXPECT_EQ(stuck.removalsRefused, QStringList{prefix()});
    EXPECT_EQ(treeOf(prefix()), installed);
    EXPECT_FALSE(QFileInfo::exists(desktopFolder() + QStringLiteral("/korvale")));
    EXPECT_EQ(delegate.askedAbout, QStringList{prefix()});
    EXPECT_TRUE(uninstall->mErrorMovingToTrash);
    EXPECT_TRUE(uninstall->mErrorMovingToDesktop);
}

// A removal that stopped half-way: the desktop holds the whole item, and the progress says so
// and where the rest is.
TEST_F(InstallRunTest, AnItemPartlyRemovedIsWholeOnTheDesktopAndTheProgressSaysWhere)
{
    InstallerSystem system;
    ASSERT_FALSE(run(system, *script.installSteps));
    const QMap<QString, QByteArray> installed = treeOf(prefix());

    StuckOriginalSystem stuck;
    stuck.desktop = desktopFolder();
    stuck.removesOneFileFirst = true;
    InstallRun *uninstall = nullptr;
    EXPECT_TRUE(run(stuck, *script.uninstallSteps, &uninstall));

    const QString onDesktop = desktopFolder() + QStringLiteral("/korvale");
    EXPECT_EQ(treeOf(onDesktop), installed);
    EXPECT_EQ(treeOf(prefix()).size(), installed.size() - 1);
    EXPECT_TRUE(delegate.lines.filter(onDesktop).filter(prefix()).size() == 1)
        << delegate.lines.join('\n').toStdString();
    // The item is out of the way only in part: the user is asked about what is left.
    EXPECT_EQ(delegate.askedAbout, QStringList{prefix()});
    EXPECT_FALSE(uninstall->mErrorMovingToDesktop);
}

// The same with a real read-only folder. Root ignores permission bits, so there the removal
// would succeed and the check means nothing.
TEST_F(InstallRunTest, AnItemInAReadOnlyFolderIsLeftWholeInPlace)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may remove from a read-only folder";
    const QString locked = home.path() + QStringLiteral("/locked");
    const QString item = locked + QStringLiteral("/Plans");
    write(item + QStringLiteral("/a.txt"), "first");
    write(item + QStringLiteral("/deeper/b.txt"), "second");
    const QMap<QString, QByteArray> before = treeOf(item);
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
    const auto unlock = qScopeGuard([&] {
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });

    RefusingSystem refusing;
    refusing.refuseMoves = false; // the desktop is there, only the folder holds the item back
    InstallRun *trash = nullptr;
    EXPECT_TRUE(run(refusing, {QStringLiteral("_trashNoErr\t") + item}, &trash));

    EXPECT_EQ(treeOf(item), before);
    EXPECT_FALSE(QFileInfo::exists(desktopFolder() + QStringLiteral("/Plans")));
    EXPECT_TRUE(trash->mErrorMovingToTrash);
    EXPECT_TRUE(trash->mErrorMovingToDesktop);
}

TEST_F(InstallRunTest, StopEndsTheRunAfterTheCurrentStep)
{
    InstallerSystem system;
    InstallRun *install = nullptr;
    delegate.onProgress = [&install](const QString &counter) {
        if (counter.startsWith(QLatin1String("2/")))
            install->mMustStop = true;
    };
    EXPECT_FALSE(run(system, *script.installSteps, &install));
    EXPECT_TRUE(install->stoppedByUser());
    EXPECT_EQ(delegate.counters.size(), 2);
    // The second step (the bundle) finished; the desktop entries were never copied.
    EXPECT_EQ(InstallPaths::bundleVersion(prefix()), "2.0");
    EXPECT_FALSE(QFileInfo::exists(applications()));
}

TEST_F(InstallRunTest, AFailingCopyStopsTheRunAndIsReported)
{
    QFile::remove(resources + QStringLiteral("/applications/korvale-browser.desktop"));
    InstallerSystem system;
    InstallRun *install = nullptr;
    EXPECT_TRUE(run(system, *script.installSteps, &install));
    EXPECT_FALSE(install->stoppedByUser());
    EXPECT_TRUE(install->mErrorCopying);
    EXPECT_FALSE(install->mErrorMovingToTrash || install->mErrorMovingToDesktop
                 || install->mErrorQuitProcess || install->mErrorLaunchApplication);
    EXPECT_EQ(install->errorList().count(QStringLiteral("• ")), 1);
    EXPECT_FALSE(QFileInfo::exists(
        home.path() + QStringLiteral("/.local/share/icons/hicolor/scalable/apps/korvale.svg")));
}

// Simulating the Trash error changes nothing on disk and makes every trash step ask.
TEST_F(InstallRunTest, SimulatedTrashErrorChangesNothing)
{
    InstallerSystem system;
    ASSERT_FALSE(run(system, *script.installSteps));
    const QStringList before = suiteFiles();
    delegate.answer = [](const QString &) { return true; };
    InstallRun uninstall(system, delegate);
    uninstall.mResourceFolder = resources;
    uninstall.mPaths = paths();
    uninstall.mPauses = false;
    uninstall.mSimulateTrashError = true;
    EXPECT_FALSE(uninstall.run(*script.uninstallSteps));
    EXPECT_EQ(suiteFiles(), before);
    // Every trash step of an item that exists asks: the quit step, the two settings folders,
    // which were never made, and the agent's autostart entry of older versions, gone at the
    // install, do not.
    EXPECT_EQ(delegate.askedAbout.size(), script.uninstallSteps->size() - 1 - 2 - 1);
}

// Script lines missing their argument: no program is asked to quit and nothing is copied to
// the root folder.
TEST_F(InstallRunTest, StepsWithoutTheirArgumentsTouchNothingElse)
{
    InstallerSystem system;
    EXPECT_TRUE(system.processesStartedFrom(QString()).isEmpty());
    EXPECT_TRUE(system.processesStartedFrom(QStringLiteral("/")).isEmpty());

    InstallRun *install = nullptr;
    EXPECT_FALSE(run(system, {QStringLiteral("_quit\t"), QStringLiteral("_trash\t")}, &install));
    EXPECT_TRUE(run(system, {QStringLiteral("_copy\tkorvale.svg")}, &install));
    EXPECT_TRUE(install->mErrorCopying);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/korvale.svg")));
}

} // namespace
