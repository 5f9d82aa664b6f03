#include "AgentScanning.h"
#include "DaemonTestSupport.h"

#include "CommonKorvaleClass.h"
#include "ItemRecord.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

void writeDesktopEntry(const QString &folder, const QString &id, const QString &name)
{
    QFile file(folder + QLatin1Char('/') + id);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Desktop Entry]\nType=Application\nExec=/bin/true\nName=" + name.toUtf8() + "\n");
}

QVariantMap findByTitle(const QVariantList &list, const QString &title)
{
    for (const QVariant &v : list) {
        if (v.toMap().value(ItemRecord::KeyTitle) == title)
            return v.toMap();
    }
    return {};
}

} // namespace

// The periodic check's scan request reaches the scanner with the user's folders, and the merged
// list (keeping what the user attached) comes back to the agent.
TEST(AgentScanning, PeriodicScanFillsTheAgentsListAndKeepsTheUsersAbbreviation)
{
    DaemonFixture f;
    QTemporaryDir apps;
    writeDesktopEntry(apps.path(), QStringLiteral("org.example.Editor.desktop"),
                      QStringLiteral("Editor"));
    writeDesktopEntry(apps.path(), QStringLiteral("org.example.Viewer.desktop"),
                      QStringLiteral("Viewer"));
    managerWrites({{QStringLiteral("AppsFoldersList"), QStringList{apps.path()}}});

    // The user gave the editor an abbreviation in an earlier run.
    const QString editorPath = apps.path() + QStringLiteral("/org.example.Editor.desktop");
    CommonKorvaleClass::saveListInFile(
        {QVariantMap{{ItemRecord::KeyKind, 1},
                     {ItemRecord::KeyPath, editorPath},
                     {ItemRecord::KeyTitle, QStringLiteral("Editor")},
                     {ItemRecord::KeyAbbreviation, QStringLiteral("ed")}}},
        DataFileName::Applications);
    // Old enough for the twelve-hour rule to ask for a scan.
    setModified(f.dataPath(DataFileName::Applications),
                DaemonClock::dateTime(f.clock.now() - 50000));

    AgentScanning scanning(*f.controller);
    f.controller->awakeFromNib();
    f.controller->readData();
    scanning.startApplicationScan();
    EXPECT_TRUE(f.controller->flags().mScanningForApplications);
    ASSERT_TRUE(scanning.scanner().waitForScan(10000));

    EXPECT_FALSE(f.controller->flags().mScanningForApplications);
    const QVariantList list = f.controller->lists().mListOfApplications;
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(findByTitle(list, QStringLiteral("Editor")).value(ItemRecord::KeyAbbreviation),
              QStringLiteral("ed"));
    EXPECT_EQ(findByTitle(list, QStringLiteral("Viewer")).value(ItemRecord::KeyPath),
              apps.path() + QStringLiteral("/org.example.Viewer.desktop"));
    EXPECT_EQ(CommonKorvaleClass::readListInFile(DataFileName::Applications), list);
    EXPECT_GE(f.hooks->count("rebuildItemsWithShortcuts"), 1);
}

namespace {

QVariantMap applicationRecord(const QString &path, const QString &title,
                              const QVariantMap &extra = {})
{
    QVariantMap record{
        {ItemRecord::KeyKind, 1}, {ItemRecord::KeyPath, path}, {ItemRecord::KeyTitle, title}};
    record.insert(extra);
    return record;
}

} // namespace

// The manager saves what the user attached to an application while the agent's scan runs: the
// scan's result is merged into the list as it is when the scan ends, whether the agent already
// reloaded the file (after the manager's notification) or not yet.
TEST(AgentScanning, WhatTheManagerSavesWhileAScanRunsIsKept)
{
    DaemonFixture f;
    QTemporaryDir apps;
    writeDesktopEntry(apps.path(), QStringLiteral("editor.desktop"), QStringLiteral("Editor"));
    writeDesktopEntry(apps.path(), QStringLiteral("viewer.desktop"), QStringLiteral("Viewer"));
    const QString editor = apps.path() + QStringLiteral("/editor.desktop");
    const QString viewer = apps.path() + QStringLiteral("/viewer.desktop");
    managerWrites({{QStringLiteral("AppsFoldersList"), QStringList{apps.path()}}});
    CommonKorvaleClass::saveListInFile({applicationRecord(editor, QStringLiteral("Editor"))},
                                       DataFileName::Applications);
    AgentScanning scanning(*f.controller);
    f.controller->awakeFromNib();
    f.controller->readData();

    // Reloaded before the scan ends: the agent read the file when the manager said so.
    scanning.startApplicationScan();
    ASSERT_TRUE(f.controller->flags().mScanningForApplications);
    const QVariantMap abbreviated = applicationRecord(
        editor, QStringLiteral("Editor"), {{ItemRecord::KeyAbbreviation, QStringLiteral("ed")}});
    CommonKorvaleClass::saveListInFile({abbreviated}, DataFileName::Applications);
    f.controller->readData();
    ASSERT_TRUE(scanning.scanner().waitForScan(10000));
    const QVariantList afterFirst{abbreviated, applicationRecord(viewer, QStringLiteral("Viewer"))};
    EXPECT_EQ(f.controller->lists().mListOfApplications, afterFirst);
    EXPECT_EQ(CommonKorvaleClass::readListInFile(DataFileName::Applications), afterFirst);

    // Saved while the scan runs and not reloaded yet: the scan's end reads it, and a new
    // application found by the scan joins the user's records.
    writeDesktopEntry(apps.path(), QStringLiteral("mail.desktop"), QStringLiteral("Mail"));
    scanning.startApplicationScan();
    ASSERT_TRUE(f.controller->flags().mScanningForApplications);
    const QVariantMap withShortcut = applicationRecord(
        viewer, QStringLiteral("Viewer"), {{ItemRecord::KeyShortcut, QStringLiteral("V")}});
    CommonKorvaleClass::saveListInFile({abbreviated, withShortcut}, DataFileName::Applications);
    ASSERT_TRUE(scanning.scanner().waitForScan(10000));
    const QVariantList afterSecond{
        abbreviated,
        applicationRecord(apps.path() + QStringLiteral("/mail.desktop"), QStringLiteral("Mail")),
        withShortcut};
    EXPECT_EQ(f.controller->lists().mListOfApplications, afterSecond);
    EXPECT_EQ(CommonKorvaleClass::readListInFile(DataFileName::Applications), afterSecond);
}

// "AppsFoldersList" absent: the desktop's folders; emptied by the user: no applications at all.
TEST(AgentScanning, AbsentFolderListMeansTheDesktopsFoldersAndAnEmptiedOneMeansNone)
{
    DaemonFixture f;
    const QString userApps = f.home.path() + QStringLiteral("/.local/share/applications");
    ASSERT_TRUE(QDir().mkpath(userApps));
    // No system folder of XDG_DATA_DIRS in the way.
    const ScopedEnvironment dataDirs{
        {"XDG_DATA_DIRS", QFile::encodeName(f.home.path() + QStringLiteral("/none")).constData()}};
    writeDesktopEntry(userApps, QStringLiteral("notes.desktop"), QStringLiteral("Notes"));
    AgentScanning scanning(*f.controller);

    const auto scan = [&] {
        f.controller->readMainSettings();
        scanning.startApplicationScan();
        return scanning.scanner().waitForScan(10000);
    };
    f.controller->awakeFromNib();
    EXPECT_TRUE(f.controller->lists().mListOfFoldersForApplications.contains(userApps));
    const QVariantMap notes =
        applicationRecord(userApps + QStringLiteral("/notes.desktop"), QStringLiteral("Notes"));
    ASSERT_TRUE(scan());
    EXPECT_TRUE(f.controller->lists().mListOfApplications.contains(notes));

    managerWrites({{QStringLiteral("AppsFoldersList"), QStringList{}}});
    ASSERT_TRUE(scan());
    EXPECT_TRUE(f.controller->lists().mListOfApplications.isEmpty());
    EXPECT_TRUE(CommonKorvaleClass::readListInFile(DataFileName::Applications).isEmpty());

    // A value that is no list counts as absent (and is logged): the defaults again.
    {
        CapturedLog log;
        managerWrites({{QStringLiteral("AppsFoldersList"), QStringLiteral("/opt/apps")}});
        ASSERT_TRUE(scan());
        EXPECT_TRUE(f.controller->lists().mListOfApplications.contains(notes));
        EXPECT_EQ(log.lines().size(), 1);
    }
}

// Every listed folder is watched, its subfolders too: an entry added to one starts a scan
// without waiting for the periodic check.
TEST(AgentScanning, AnEntryAddedToAWatchedFolderIsListedWithoutARequest)
{
    DaemonFixture f;
    QTemporaryDir apps;
    ASSERT_TRUE(QDir(apps.path()).mkpath(QStringLiteral("kde")));
    writeDesktopEntry(apps.path(), QStringLiteral("org.example.Editor.desktop"),
                      QStringLiteral("Editor"));
    managerWrites({{QStringLiteral("AppsFoldersList"), QStringList{apps.path()}}});

    AgentScanning scanning(*f.controller);
    scanning.folderWatch().setQuietMs(50);
    f.controller->awakeFromNib();
    f.controller->readData();
    scanning.startApplicationScan();
    ASSERT_TRUE(scanning.scanner().waitForScan(10000));
    ASSERT_EQ(f.controller->lists().mListOfApplications.size(), 1);
    EXPECT_TRUE(scanning.folderWatch().watchedFolders().contains(apps.path() + "/kde"));

    writeDesktopEntry(apps.path() + "/kde", QStringLiteral("org.example.Atlas.desktop"),
                      QStringLiteral("Atlas"));
    QDeadlineTimer deadline(10000);
    while (findByTitle(f.controller->lists().mListOfApplications, QStringLiteral("Atlas")).isEmpty()
           && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(findByTitle(f.controller->lists().mListOfApplications, QStringLiteral("Atlas"))
                  .value(ItemRecord::KeyPath),
              apps.path() + QStringLiteral("/kde/org.example.Atlas.desktop"));
}

// A package installing many entries one after the other gives one scan, not one per entry.
TEST(AgentScanning, ABurstOfChangesInTheApplicationFoldersGivesOneSignal)
{
    QTemporaryDir apps;
    ApplicationFolderWatch watch;
    watch.setQuietMs(500);
    watch.setFolders({apps.path()});
    ASSERT_EQ(watch.watchedFolders(), QStringList{apps.path()});
    int emitted = 0;
    QObject::connect(&watch, &ApplicationFolderWatch::changed, [&] { ++emitted; });
    for (int i = 0; i < 20; ++i) {
        writeDesktopEntry(apps.path(), QStringLiteral("org.example.App%1.desktop").arg(i),
                          QStringLiteral("App %1").arg(i));
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QDeadlineTimer deadline(10000);
    while (emitted == 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(emitted, 1);
}

// inotify watches are shared with every other program of the user: the watch stops at the
// documented 512 folders, skipping hidden folders and links, however deep the tree.
TEST(AgentScanning, TheWatchTakesAtMostItsShareOfTheUsersFolderWatches)
{
    QTemporaryDir apps;
    QDir root(apps.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral(".hidden/inside")));
    ASSERT_TRUE(QFile::link(apps.path(), apps.path() + QStringLiteral("/loop")));
    for (int i = 0; i < 350; ++i) // 700 folders below the top one
        ASSERT_TRUE(root.mkpath(QStringLiteral("group%1/sub").arg(i)));

    ApplicationFolderWatch watch;
    watch.setFolders({apps.path()});
    const QStringList watched = watch.watchedFolders();
    EXPECT_EQ(watched.size(), ApplicationFolderWatch::MaxWatchedFolders);
    EXPECT_EQ(ApplicationFolderWatch::MaxWatchedFolders, 512);
    EXPECT_TRUE(watched.contains(apps.path()));
    for (const QString &folder : watched) {
        EXPECT_FALSE(folder.contains(QStringLiteral("/.hidden"))) << folder.toStdString();
        EXPECT_FALSE(folder.contains(QStringLiteral("/loop"))) << folder.toStdString();
    }
}
