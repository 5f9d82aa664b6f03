#include "ManagerFixture.h"

#include "DaemonControl.h"
#include "InfoViews.h"
#include "ManagerWindow.h"
#include "PathListEditor.h"
#include "PreferencesSheet.h"
#include "ShortcutSectionView.h"
#include "platform/QOR_AppUtils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>

TEST_F(ManagerTest, AFirstStartStoresTheDefaultsStartsTheAgentAndMakesItALoginItem)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QDir().mkpath(documents);
    auto manager = makeManager();
    EXPECT_TRUE(mPreferences->contains("AppsFoldersList"));
    QStringList filePaths;
    for (const QVariant &file : mPreferences->value("FilesList").toList())
        filePaths << file.toMap().value("P").toString();
    EXPECT_TRUE(filePaths.contains(QDir::homePath()));
    EXPECT_TRUE(filePaths.contains(documents));

    ASSERT_TRUE(manager->applicationDidFinishLaunching());
    EXPECT_TRUE(manager->isFirstLaunchOfVersion());
    EXPECT_EQ(mPreferences->value("Version").toString(), "1.0");
    EXPECT_TRUE(posted().contains("MainAppLaunched"));
    EXPECT_EQ(mStarted, QStringList{mDaemonPath});
    EXPECT_TRUE(QOR_AppUtils::isInLoginItems(mDaemonPath));
    EXPECT_EQ(manager->window()->sectionList()->count(), ManagerWindow::SectionCount);

    // The same version again: no licence, no tour; an agent already running is not started.
    manager.reset();
    mStarted.clear();
    mPrograms.setRunning(SessionProgram::daemon(), RunningProgram{42, mDaemonPath});
    manager = makeManager();
    ASSERT_TRUE(manager->applicationDidFinishLaunching());
    EXPECT_FALSE(manager->isFirstLaunchOfVersion());
    EXPECT_TRUE(mStarted.isEmpty());
    EXPECT_TRUE(QOR_AppUtils::isInLoginItems(mDaemonPath));
}

TEST_F(ManagerTest, TheAgentBoxOffQuitsTheAgentAndLeavesTheLoginItemsAndOnlyThisCopyStarts)
{
    auto manager = makeManager();
    ASSERT_TRUE(manager->applicationDidFinishLaunching());
    QCheckBox *box = manager->shortcutView()->daemonBox();
    clearPosted();
    box->click();
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(posted().contains("QuitDaemon")) << "even with no agent running";
    EXPECT_FALSE(QOR_AppUtils::isInLoginItems(mDaemonPath));
    EXPECT_EQ(mPreferences->value("DaemonActivated").toInt(), 0);

    // Another copy's agent runs in this session: this one is neither started nor made a login
    // item.
    const QString other = mHome.path() + "/other/bin/korvale-daemon";
    mPrograms.setRunning(SessionProgram::daemon(), RunningProgram{7, other});
    mStarted.clear();
    box->click();
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(mPreferences->value("DaemonActivated").toInt(), 1);
    EXPECT_TRUE(mStarted.isEmpty());
    EXPECT_FALSE(QOR_AppUtils::isInLoginItems(mDaemonPath));
}

TEST_F(ManagerTest, TheSettingsAreWrittenWholeAtStartAndThePreferencesSheetTellsTheAgent)
{
    mPreferences->setValue("ShortCutsMenu", 2);
    mPreferences->setValue("OtherDataAddressBook", 1);
    mPreferences->setValue("PriorityForNotes", 7);
    mPreferences->setValue("ShortCutsKeyPersonalValuesData", QByteArray("bad"));
    auto manager = makeManager();
    // Every key of the section exists after a start, the stored ones as they were.
    EXPECT_EQ(posted(), QStringList{"SettingChanged"});
    for (const char *key :
         {"ShortCutsActivated", "ShortCutsMenuRepetition", "ShortCutsKeyPersonalValuesData",
          "ShortCutsMouseShiftKey", "OtherDataCalendarEvents"})
        EXPECT_TRUE(mPreferences->contains(key)) << key;
    EXPECT_EQ(mPreferences->value("ShortCutsMenu").toInt(), 2);
    EXPECT_EQ(mPreferences->value("ShortCutsActivated").toInt(), 1);
    EXPECT_EQ(mPreferences->value("ShortCutsKeyPersonalValuesData").toByteArray(),
              QByteArray(16, '\0'))
        << "a key map that is no key map is not kept";
    EXPECT_TRUE(manager->otherDataView()->box(2)->isChecked());

    clearPosted();
    manager->otherDataView()->box(0)->click();
    EXPECT_EQ(mPreferences->value("OtherDataBookmarks").toInt(), 1);
    EXPECT_EQ(mPreferences->value("OtherDataAddressBook").toInt(), 1);
    EXPECT_EQ(posted(), QStringList{"SettingChanged"});

    // The user's own vCard and calendar files: each path once, stored and told at once.
    clearPosted();
    PathListEditor *contacts = manager->otherDataView()->contactsPaths();
    EXPECT_TRUE(contacts->addPath("/home/u/friends.vcf"));
    EXPECT_FALSE(contacts->addPath("/home/u/friends.vcf"));
    EXPECT_TRUE(manager->otherDataView()->calendarPaths()->addPath("/home/u/Calendars"));
    EXPECT_EQ(posted(), (QStringList{"SettingChanged", "SettingChanged"}));
    EXPECT_EQ(mPreferences->value("OtherDataContactsPaths").toStringList(),
              QStringList{"/home/u/friends.vcf"});
    contacts->list()->item(0)->setSelected(true);
    contacts->removeSelected();
    EXPECT_TRUE(mPreferences->value("OtherDataContactsPaths").toStringList().isEmpty());
    EXPECT_EQ(makeManager()->otherDataView()->calendarPaths()->paths(),
              QStringList{"/home/u/Calendars"});

    // The sheet shows what is stored; OK writes every key and says what became of the keys
    // window; Cancel writes nothing.
    PreferencesSheet *sheet = manager->preferencesSheet();
    clearPosted();
    QTimer::singleShot(0, sheet, [sheet] {
        EXPECT_EQ(sheet->priority("PriorityForNotes")->value(), 7);
        sheet->box("CenterAccessWindow")->setChecked(true);
        sheet->revealCursor()->setCurrentIndex(2);
        sheet->accept();
    });
    manager->editPrefs();
    EXPECT_EQ(posted(), (QStringList{"SettingChanged", "CloseKeysDetection"}));
    EXPECT_EQ(mPreferences->value("CenterAccessWindow").toInt(), 1);
    EXPECT_EQ(mPreferences->value("ResetFilter").toInt(), 1);
    EXPECT_EQ(mPreferences->value("RevealCursor").toInt(), 2);
    EXPECT_EQ(mPreferences->value("PriorityForApplications").toInt(), 0);

    clearPosted();
    QTimer::singleShot(0, sheet, [sheet] {
        sheet->box("ShowKeysDetection")->setChecked(true);
        sheet->reject();
    });
    manager->editPrefs();
    EXPECT_TRUE(posted().isEmpty());
    EXPECT_EQ(mPreferences->value("ShowKeysDetection").toInt(), 0);
}

TEST_F(ManagerTest, CancelInThePreferencesShowsWhatIsStoredOrTheDefaultNextTime)
{
    // A new install: none of the sheet's keys is stored but this one.
    mPreferences->setValue("PriorityForNotes", 7);
    auto manager = makeManager();
    PreferencesSheet *sheet = manager->preferencesSheet();
    QTimer::singleShot(0, sheet, [sheet] {
        sheet->box("ResetFilter")->setChecked(false);
        sheet->box("CenterAccessWindow")->setChecked(true);
        sheet->priority("PriorityForFiles")->setValue(5);
        sheet->priority("PriorityForNotes")->setValue(9);
        sheet->revealCursor()->setCurrentIndex(3);
        sheet->reject();
    });
    manager->editPrefs();
    EXPECT_FALSE(mPreferences->contains("ResetFilter"));

    // The next opening shows the defaults and the stored value, and OK stores those.
    QTimer::singleShot(0, sheet, [sheet] {
        EXPECT_TRUE(sheet->box("ResetFilter")->isChecked());
        EXPECT_FALSE(sheet->box("CenterAccessWindow")->isChecked());
        EXPECT_EQ(sheet->priority("PriorityForFiles")->value(), 0);
        EXPECT_EQ(sheet->priority("PriorityForNotes")->value(), 7);
        EXPECT_EQ(sheet->revealCursor()->currentIndex(), 0);
        sheet->accept();
    });
    manager->editPrefs();
    EXPECT_EQ(mPreferences->value("ResetFilter").toInt(), 1);
    EXPECT_EQ(mPreferences->value("CenterAccessWindow").toInt(), 0);
    EXPECT_EQ(mPreferences->value("PriorityForFiles").toInt(), 0);
    EXPECT_EQ(mPreferences->value("PriorityForNotes").toInt(), 7);
    EXPECT_EQ(mPreferences->value("RevealCursor").toInt(), 0);
}
