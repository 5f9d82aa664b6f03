#include "DaemonTestSupport.h"
#include "FilesList.h"

#include "ApplicationsFolders.h"
#include "CommonKorvaleClass.h"

#include <QTest>

#include <gtest/gtest.h>

TEST(DaemonSettings, DefaultsWithoutAnyPreferences)
{
    DaemonFixture f;
    f.controller->awakeFromNib();
    const DaemonSettings &s = f.controller->settings();
    EXPECT_EQ(s.mResetFilter, 1);
    EXPECT_EQ(s.mPreferencesControlClickInMenuBar, 1);
    EXPECT_EQ(s.mShowIconInPopupMenus, 1);
    EXPECT_EQ(s.mPreferencesShowKeysDetectionAuto, 1);
    EXPECT_EQ(s.mReminderAddToDoItems, 1);
    EXPECT_EQ(s.mReminderAddCalendarEntries, 1);
    EXPECT_EQ(s.mShortCutsActivated, 0);
    EXPECT_EQ(s.mShowKeysDetection, 0);
    EXPECT_EQ(s.mPriorityForNotes, 0);
    EXPECT_TRUE(s.mFilesList.isEmpty());
    EXPECT_FALSE(s.mFilesListPresent);
    EXPECT_EQ(f.hooks->count("buildWindowsAndMenus"), 1);
    EXPECT_EQ(f.hooks->count("rebuildItemsWithShortcuts"), 0);
}

TEST(DaemonSettings, AbsentKeysFollowTheirRule)
{
    DaemonFixture f;
    const QVariantMap file{{"FilesList", QVariantList{QVariantMap{{"x", 2}, {"P", "/tmp"}}}}};
    managerWrites({{"ResetFilter", 0},
                   {"ShowIconInPopupMenus", 0},
                   {"PriorityForNotes", 3},
                   {"ShowInvisible", 1},
                   {"ShortCutsActivated", 1},
                   {"ShortCutsMenu", 2},
                   {"OtherDataBookmarks", 1},
                   {"ReminderAddToDoItems", 0},
                   {"ReminderAddCalendarEntries", 0},
                   {"AppsFoldersList", QVariantList{"/opt/apps"}},
                   {"FilesList", file.value("FilesList")},
                   {"LastItemsLaunched",
                    QVariantList{QVariantMap{{"T", "a"}}, QVariantMap{{"T", "b"}, {"-", 1}}}}});
    f.controller->awakeFromNib();
    const DaemonSettings &s = f.controller->settings();
    EXPECT_EQ(s.mResetFilter, 0);
    EXPECT_EQ(s.mShortCutsMenu, 2);
    EXPECT_EQ(s.mReminderAddToDoItems, 0);
    EXPECT_EQ(f.controller->lists().mListOfFoldersForApplications, QStringList{"/opt/apps"});
    EXPECT_EQ(f.controller->lists().mListOfFiles.size(), 1);
    EXPECT_EQ(f.controller->lists().mLatestItems.size(), 2);
    EXPECT_EQ(f.controller->lists().mLatestItemsFromPopupContents.size(), 1);
    EXPECT_EQ(f.hooks->count("rebuildItemsWithShortcuts"), 1);

    managerWrites({},
                  {"ResetFilter", "ShowIconInPopupMenus", "PriorityForNotes", "ShowInvisible",
                   "ShortCutsActivated", "ShortCutsMenu", "OtherDataBookmarks",
                   "ReminderAddToDoItems", "ReminderAddCalendarEntries", "AppsFoldersList",
                   "FilesList", "LastItemsLaunched"});
    f.controller->readMainSettings();
    // Display, priority and default-1 keys keep what they were.
    EXPECT_EQ(s.mResetFilter, 0);
    EXPECT_EQ(s.mShowIconInPopupMenus, 0);
    EXPECT_EQ(s.mPriorityForNotes, 3);
    EXPECT_EQ(s.mShowInvisible, 1);
    // ShortCuts, OtherData and the lists read as 0 or empty; the reminder keys as 1.
    EXPECT_EQ(s.mShortCutsActivated, 0);
    EXPECT_EQ(s.mShortCutsMenu, 0);
    EXPECT_EQ(s.mOtherDataBookmarks, 0);
    EXPECT_EQ(s.mReminderAddToDoItems, 1);
    EXPECT_EQ(s.mReminderAddCalendarEntries, 1);
    // Without "AppsFoldersList" the desktop's application folders are scanned.
    EXPECT_EQ(f.controller->lists().mListOfFoldersForApplications,
              ApplicationsFolders::defaultApplicationsFolders());
    // Without "FilesList", the files the manager would store at its first start.
    EXPECT_EQ(f.controller->lists().mListOfFiles, FilesList::defaultFilesList());
    EXPECT_FALSE(f.controller->lists().mListOfFiles.isEmpty());
    EXPECT_TRUE(f.controller->lists().mLatestItems.isEmpty());
    EXPECT_TRUE(f.controller->lists().mLatestItemsFromPopupContents.isEmpty());
    EXPECT_EQ(f.hooks->count("rebuildItemsWithShortcuts"), 1);
}

TEST(DaemonSettings, FilesListRescanTriggersOneRescanAndIsResetOnDisk)
{
    DaemonFixture f;
    managerWrites({{"FilesListRescan", 1}, {"PriorityForFiles", 2}});
    f.controller->awakeFromNib();
    EXPECT_EQ(f.hooks->count("rescanFolders"), 0); // deferred
    QTest::qWait(250);
    EXPECT_EQ(f.hooks->count("rescanFolders"), 1);

    SharedPreferences reader;
    EXPECT_EQ(reader.intValue("FilesListRescan"), 0);
    EXPECT_EQ(reader.intValue("PriorityForFiles"), 2);

    f.controller->readMainSettings();
    QTest::qWait(250);
    EXPECT_EQ(f.hooks->count("rescanFolders"), 1);
}

TEST(DaemonSettings, ValuesOfTheWrongTypeFallBackAndAreLoggedOnce)
{
    DaemonFixture f;
    CapturedLog log;
    managerWrites({{"ResetFilter", "0"},
                   {"PriorityForNotes", " 2"},
                   {"ShortCutsActivated", "yes"},
                   {"ShortCutsKeyPersonalValuesData", QByteArray("abc")},
                   {"FilesList", QVariantList{1, "text", QVariantMap{{"x", 2}, {"P", "/a"}}}},
                   {"AppsFoldersList", QVariantMap{{"a", 1}}}});
    f.controller->awakeFromNib();
    const DaemonSettings &s = f.controller->settings();
    // A whole number written as text is that number; "yes" is no number: the default.
    EXPECT_EQ(s.mResetFilter, 0);
    EXPECT_EQ(s.mPriorityForNotes, 2);
    EXPECT_EQ(s.mShortCutsActivated, 0);
    EXPECT_TRUE(s.mShortCutsKeyPersonalValuesData.isEmpty());
    ASSERT_EQ(f.controller->lists().mListOfFiles.size(), 1);
    EXPECT_EQ(f.controller->lists().mListOfFiles.first().toMap().value("P"), "/a");
    EXPECT_FALSE(s.mAppsFoldersListPresent);
    EXPECT_EQ(log.lines().size(), 4) << log.lines().join('\n').toStdString();

    f.controller->readMainSettings();
    EXPECT_EQ(log.lines().size(), 4);

    // Mended by the manager, then broken again: reported again.
    managerWrites({{"ShortCutsActivated", 1}});
    f.controller->readMainSettings();
    EXPECT_EQ(s.mShortCutsActivated, 1);
    managerWrites({{"ShortCutsActivated", 2.5}});
    f.controller->readMainSettings();
    EXPECT_EQ(s.mShortCutsActivated, 0);
    EXPECT_EQ(log.lines().size(), 5);
    // Nothing the agent does not own was rewritten.
    EXPECT_EQ(SharedPreferences().value("FilesList").toList().size(), 3);
}

TEST(DaemonSettings, DamagedPreferencesLeaveDefaultsAndAreKeptAside)
{
    DaemonFixture f;
    CapturedLog log;
    QDir().mkpath(f.home.configFolder());
    QFile damaged(SharedPreferences::defaultPath());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("\xa5\x01garbage that is not an archive");
    damaged.close();

    f.controller->awakeFromNib();
    EXPECT_EQ(f.controller->settings().mResetFilter, 1);
    EXPECT_EQ(log.lines().size(), 1);
    EXPECT_EQ(QDir(f.home.configFolder()).entryList({"preferences.cbor.*.damaged"}).size(), 1);

    f.controller->readMainSettings();
    EXPECT_EQ(log.lines().size(), 1);
    managerWrites({{"PriorityForNotes", 4}});
    f.controller->readMainSettings();
    EXPECT_EQ(f.controller->settings().mPriorityForNotes, 4);
}

TEST(DaemonSettings, PreferencesDisappearingWhileRunning)
{
    DaemonFixture f;
    managerWrites({{"ShortCutsActivated", 1}, {"PriorityForNotes", 2}, {"ResetFilter", 0}});
    f.controller->awakeFromNib();
    ASSERT_EQ(f.controller->settings().mShortCutsActivated, 1);
    ASSERT_TRUE(QFile::remove(SharedPreferences::defaultPath()));
    f.controller->readMainSettings();
    EXPECT_EQ(f.controller->settings().mShortCutsActivated, 0);
    EXPECT_EQ(f.controller->settings().mPriorityForNotes, 2);
    EXPECT_EQ(f.controller->settings().mResetFilter, 0);
    EXPECT_FALSE(QFile::exists(SharedPreferences::defaultPath()));
}

// The caches of an earlier version, in the preferences, are carried over to their data files once
// and leave the preferences, which every program rereads.
TEST(DaemonSettings, ContactsAndEventsOfTheLastRunAreLoadedAtStart)
{
    DaemonFixture f;
    const QVariantList contacts{QVariantMap{{"x", 4}, {"T", "Ann"}}};
    managerWrites({{"AddressBookItems", contacts}, {"CalendarItems", "not a list"}});
    f.controller->awakeFromNib();
    EXPECT_EQ(f.controller->lists().mListOfAddressBook, contacts);
    EXPECT_TRUE(f.controller->lists().mListOfCalendarEvents.isEmpty());
    SharedPreferences fresh;
    EXPECT_FALSE(fresh.contains("AddressBookItems"));
    EXPECT_FALSE(fresh.contains("CalendarItems"));
    EXPECT_EQ(CommonKorvaleClass::readListInFile(DataFileName::AddressBookItems), contacts);

    const QVariantList events{QVariantMap{{"x", 12}, {"T", "Lunch"}}};
    CommonKorvaleClass::saveListInFile(events, DataFileName::CalendarItems);
    f.controller->awakeFromNib();
    EXPECT_EQ(f.controller->lists().mListOfAddressBook, contacts);
    EXPECT_EQ(f.controller->lists().mListOfCalendarEvents, events);
}

TEST(DaemonSettings, FirstRunAnswersTheDoubleTapButNeverOverridesAChoice)
{
    DaemonFixture f;
    SharedPreferences agent;
    storeFirstRunActivationDefaults(agent);
    f.controller->awakeFromNib();
    EXPECT_EQ(f.controller->settings().mShortCutsActivated, 1);
    EXPECT_EQ(f.controller->settings().mShortCutsMenu, 0);

    // A user who switched the gesture off, or chose Control, keeps that choice.
    managerWrites({{"ShortCutsActivated", 0}, {"ShortCutsMenu", 2}});
    SharedPreferences laterStart;
    storeFirstRunActivationDefaults(laterStart);
    f.controller->readMainSettings();
    EXPECT_EQ(f.controller->settings().mShortCutsActivated, 0);
    EXPECT_EQ(f.controller->settings().mShortCutsMenu, 2);
}
