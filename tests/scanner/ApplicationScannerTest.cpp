#include "ApplicationScanner.h"
#include "ApplicationsFolders.h"
#include "CommonKorvaleClass.h"
#include "ItemRecord.h"
#include "ScannerFixtures.h"
#include "TestEnvironment.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

using namespace ScannerFixtures;

namespace {

QStringList titles(const QVariantList &list)
{
    QStringList result;
    for (const QVariant &item : list)
        result << item.toMap().value(ItemRecord::KeyTitle).toString();
    return result;
}

QVariantMap record(const QString &path, const QString &title)
{
    return {{ItemRecord::KeyKind, 1}, {ItemRecord::KeyPath, path}, {ItemRecord::KeyTitle, title}};
}

// Files and folders alike.
void setModified(const QString &path, const QDateTime &when)
{
    const timespec times[2] = {{0, UTIME_OMIT}, {time_t(when.toSecsSinceEpoch()), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

class ApplicationScannerTest : public ::testing::Test
{
protected:
    ApplicationScannerTest()
    {
        makeFolder(mApps);
        mScanner.setApplicationsFolders({mApps});
    }

    QString listFile() const
    {
        return CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
            DataFileName::Applications);
    }
    void scanAndWait()
    {
        ASSERT_TRUE(mScanner.launchScanApplicationsProcess());
        ASSERT_TRUE(mScanner.waitForScan(10000));
    }

    TemporaryHome mHome;
    QString mApps = mHome.path() + QStringLiteral("/apps");
    ApplicationScanner mScanner;
};

} // namespace

TEST_F(ApplicationScannerTest, ScanSortsByTitleAndSavesTheList)
{
    makeFolder(mApps + "/zebra.app");
    makeFolder(mApps + "/Apple.app");
    writeDesktopEntry(mApps + "/mail.desktop", "mail");
    QSignalSpy changed(&mScanner, &ApplicationScanner::applicationsListChanged);

    scanAndWait();

    EXPECT_EQ(titles(mScanner.applicationsList()), (QStringList{"Apple", "mail", "zebra"}));
    EXPECT_EQ(CommonKorvaleClass::readListInFile(DataFileName::Applications),
              mScanner.applicationsList());
    EXPECT_EQ(changed.count(), 1);
    EXPECT_FALSE(mScanner.isScanningForApplications());
}

TEST_F(ApplicationScannerTest, UnchangedRescanDoesNotTouchTheFile)
{
    makeFolder(mApps + "/Editor.app");
    writeDesktopEntry(mApps + "/viewer.desktop", "Viewer");
    scanAndWait();
    // As the agent holds it after reloading the file: decoded values, same contents.
    mScanner.setApplicationsList(CommonKorvaleClass::readListInFile(DataFileName::Applications));
    const QDateTime past = QDateTime::currentDateTimeUtc().addSecs(-3600);
    setModified(listFile(), past);
    QSignalSpy changed(&mScanner, &ApplicationScanner::applicationsListChanged);
    QSignalSpy finished(&mScanner, &ApplicationScanner::scanFinished);

    scanAndWait();

    EXPECT_EQ(QFileInfo(listFile()).lastModified().toSecsSinceEpoch(), past.toSecsSinceEpoch());
    EXPECT_EQ(changed.count(), 0);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_FALSE(finished.first().first().toBool());
}

TEST_F(ApplicationScannerTest, WhatTheUserAttachedSurvivesRescans)
{
    writeDesktopEntry(mApps + "/player.desktop", "Player");
    makeFolder(mApps + "/Notes.app");
    scanAndWait();
    QVariantList list = mScanner.applicationsList();
    QVariantMap player = list.first().toMap();
    ASSERT_EQ(player.value("T"), "Notes"); // sorted: Notes, Player
    player = list.at(1).toMap();
    player.insert(ItemRecord::KeyShortcut, QByteArray(16, '\x01'));
    player.insert(ItemRecord::KeyAbbreviation, "pl");
    player.insert(ItemRecord::KeyKeywords, "music songs");
    player.insert(ItemRecord::KeyText, "my comment");
    player.insert(ItemRecord::KeyHideOthers, 1);
    list[1] = player;
    mScanner.setApplicationsList(list);
    CommonKorvaleClass::saveListInFile(list, DataFileName::Applications);

    scanAndWait();
    EXPECT_EQ(mScanner.applicationsList().at(1).toMap(), player);

    // Renamed by an update: the new title, sorted anew, with the user's keys kept.
    writeDesktopEntry(mApps + "/player.desktop", "Audio Player");
    scanAndWait();
    const QVariantList after = mScanner.applicationsList();
    ASSERT_EQ(titles(after), (QStringList{"Audio Player", "Notes"}));
    QVariantMap expected = player;
    expected.insert(ItemRecord::KeyTitle, "Audio Player");
    EXPECT_EQ(after.first().toMap(), expected);
    EXPECT_EQ(CommonKorvaleClass::readListInFile(DataFileName::Applications), after);
}

TEST_F(ApplicationScannerTest, RemovedApplicationDisappears)
{
    makeFolder(mApps + "/Stays.app");
    makeFolder(mApps + "/Goes.app");
    scanAndWait();
    ASSERT_EQ(titles(mScanner.applicationsList()), (QStringList{"Goes", "Stays"}));

    QDir(mApps + "/Goes.app").removeRecursively();
    scanAndWait();

    EXPECT_EQ(titles(mScanner.applicationsList()), QStringList{"Stays"});
    EXPECT_EQ(titles(CommonKorvaleClass::readListInFile(DataFileName::Applications)),
              QStringList{"Stays"});
}

TEST_F(ApplicationScannerTest, EmptyFolderListEmptiesAStoredList)
{
    mScanner.setApplicationsList({record("/gone/Old.app", "Old")});
    mScanner.setApplicationsFolders({});
    scanAndWait();
    EXPECT_TRUE(mScanner.applicationsList().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(listFile()));
    EXPECT_TRUE(CommonKorvaleClass::readListInFile(DataFileName::Applications).isEmpty());
}

TEST_F(ApplicationScannerTest, OneScanAtATimeAndDocumentScanWaitsBehindIt)
{
    makeFolder(mApps + "/One.app");
    QSignalSpy finished(&mScanner, &ApplicationScanner::scanFinished);
    QSignalSpy documents(&mScanner, &ApplicationScanner::documentsScanned);

    ASSERT_TRUE(mScanner.launchScanApplicationsProcess());
    // The scan counts as running until its result is merged on this thread.
    EXPECT_FALSE(mScanner.launchScanApplicationsProcess());
    mScanner.rescanFolders();
    EXPECT_EQ(documents.count(), 0);
    ASSERT_TRUE(mScanner.waitForScan(10000));
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(documents.count(), 0);
    EXPECT_TRUE(documents.wait(4000));
    EXPECT_EQ(documents.count(), 1);

    mScanner.rescanFolders();
    EXPECT_EQ(documents.count(), 2);
}

TEST(ApplicationScannerOrder, TitlesCompareWithoutCaseAndUntitledFirst)
{
    const QVariantMap untitled = {{ItemRecord::KeyPath, "/x.app"}};
    EXPECT_LT(ApplicationScanner::sortTitleFunction(record("/a", "alpha"), record("/b", "Beta")),
              0);
    EXPECT_EQ(ApplicationScanner::sortTitleFunction(record("/a", "ALPHA"), record("/b", "alpha")),
              0);
    EXPECT_GT(ApplicationScanner::sortTitleFunction(record("/a", "gamma"), record("/b", "Beta")),
              0);
    EXPECT_LT(ApplicationScanner::sortTitleFunction(untitled, record("/a", "alpha")), 0);
    EXPECT_EQ(ApplicationScanner::sortTitleFunction(untitled, untitled), 0);
}

TEST(ApplicationScannerMerge, FirstStoredRecordOfAPathIsKept)
{
    QVariantMap first = record("/a/One.app", "One");
    first.insert(ItemRecord::KeyAbbreviation, "o1");
    QVariantMap second = record("/a/One.app", "One");
    second.insert(ItemRecord::KeyAbbreviation, "o2");
    const QVariantList merged = ApplicationScanner::mergeScannedList(
        {record("/a/Two.app", "Two"), record("/a/One.app", "One")}, {first, second});
    EXPECT_EQ(merged, (QVariantList{first, record("/a/Two.app", "Two")}));
}

TEST(ApplicationsFoldersDefault, XdgFoldersFirstThenExistingBundleFolders)
{
    TemporaryHome home;
    const QString root = home.path();
    makeFolder(root + "/.local/share/applications");
    makeFolder(root + "/one/applications");
    makeFolder(root + "/three/applications");
    makeFolder(root + "/Applications");
    const QByteArray saved = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS",
            (root + "/one:relative/dir:" + root + "/two:" + root + "/three/:" + root + "/one")
                .toUtf8());

    const QStringList folders = ApplicationsFolders::defaultApplicationsFolders();
    if (saved.isNull())
        qunsetenv("XDG_DATA_DIRS");
    else
        qputenv("XDG_DATA_DIRS", saved);

    ASSERT_GE(folders.size(), 4);
    EXPECT_EQ(folders.mid(0, 3),
              (QStringList{root + "/.local/share/applications", root + "/one/applications",
                           root + "/three/applications"}));
    EXPECT_EQ(folders.last(), root + "/Applications");
    EXPECT_EQ(folders.count(root + "/one/applications"), 1);
    for (const QString &folder : folders)
        EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
}

TEST_F(ApplicationScannerTest, RescanSeesEveryChangeDespiteWhatItRemembers)
{
    const QString tool = mHome.path() + "/bin/korvale-test-tool";
    writeDesktopEntry(mApps + "/tool.desktop", "Tool", "TryExec=" + tool.toUtf8() + "\n");
    writeDesktopEntry(mApps + "/editor.desktop", "Editor");
    makeFolder(mApps + "/Group");
    scanAndWait();
    ASSERT_EQ(titles(mScanner.applicationsList()), QStringList{"Editor"});

    // Same size, same file: only its times tell the edit.
    writeDesktopEntry(mApps + "/editor.desktop", "Rotide");
    // The program an entry waits for is installed; the entry itself is unchanged.
    writeFile(tool, "#!/bin/sh\n");
    QFile::setPermissions(tool, QFile::ReadOwner | QFile::ExeOwner);
    // New things in a folder seen before, and in a new folder.
    makeFolder(mApps + "/Group/Deep/New.app");
    writeDesktopEntry(mApps + "/Group/added.desktop", "Added");
    scanAndWait();

    EXPECT_EQ(titles(mScanner.applicationsList()), (QStringList{"Added", "New", "Rotide", "Tool"}));

    QFile::remove(tool);
    QDir(mApps + "/Group").removeRecursively();
    scanAndWait();
    EXPECT_EQ(titles(mScanner.applicationsList()), QStringList{"Rotide"});
}
