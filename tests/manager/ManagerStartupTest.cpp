#include "ManagerFixture.h"

#include "DaemonControl.h"
#include "ManagerWindow.h"
#include "platform/QOR_AppUtils.h"

#include <QCheckBox>
#include <QListWidget>
#include <QStandardPaths>

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
    mProcesses.setProcesses({ProcessInfo{42, "korvale-daemon", mDaemonPath, mDaemonPath}});
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
    QCheckBox *box = manager->window()->daemonCheckBox();
    clearPosted();
    box->click();
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(posted().contains("QuitDaemon")) << "even with no agent running";
    EXPECT_FALSE(QOR_AppUtils::isInLoginItems(mDaemonPath));
    EXPECT_EQ(mPreferences->value("DaemonActivated").toInt(), 0);

    // Another copy's agent runs: this one is neither started nor made a login item.
    const QString other = mHome.path() + "/other/bin/korvale-daemon";
    mProcesses.setProcesses({ProcessInfo{7, "korvale-daemon", other, other}});
    mStarted.clear();
    box->click();
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(mPreferences->value("DaemonActivated").toInt(), 1);
    EXPECT_TRUE(mStarted.isEmpty());
    EXPECT_FALSE(QOR_AppUtils::isInLoginItems(mDaemonPath));
}
