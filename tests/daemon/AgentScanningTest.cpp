#include "AgentScanning.h"
#include "DaemonTestSupport.h"

#include "CommonKorvaleClass.h"
#include "ItemRecord.h"

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
    writeDesktopEntry(apps.path(), QStringLiteral("org.example.Editor.desktop"), QStringLiteral("Editor"));
    writeDesktopEntry(apps.path(), QStringLiteral("org.example.Viewer.desktop"), QStringLiteral("Viewer"));
    managerWrites({{QStringLiteral("AppsFoldersList"), QStringList {apps.path()}}});

    // The user gave the editor an abbreviation in an earlier run.
    const QString editorPath = apps.path() + QStringLiteral("/org.example.Editor.desktop");
    CommonKorvaleClass::saveListInFile({QVariantMap {{ItemRecord::KeyKind, 1},
                                                     {ItemRecord::KeyPath, editorPath},
                                                     {ItemRecord::KeyTitle, QStringLiteral("Editor")},
                                                     {ItemRecord::KeyAbbreviation, QStringLiteral("ed")}}},
                                       DataFileName::Applications);
    // Old enough for the twelve-hour rule to ask for a scan.
    setModified(f.dataPath(DataFileName::Applications), DaemonClock::dateTime(f.clock.now() - 50000));

    AgentScanning scanning(*f.controller);
    f.controller->awakeFromNib();
    f.controller->readData();
    scanning.startApplicationScan();
    EXPECT_TRUE(f.controller->flags().mScanningForApplications);
    ASSERT_TRUE(scanning.scanner().waitForScan(10000));

    EXPECT_FALSE(f.controller->flags().mScanningForApplications);
    const QVariantList list = f.controller->lists().mListOfApplications;
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(findByTitle(list, QStringLiteral("Editor")).value(ItemRecord::KeyAbbreviation), QStringLiteral("ed"));
    EXPECT_EQ(findByTitle(list, QStringLiteral("Viewer")).value(ItemRecord::KeyPath),
              apps.path() + QStringLiteral("/org.example.Viewer.desktop"));
    EXPECT_EQ(CommonKorvaleClass::readListInFile(DataFileName::Applications), list);
    EXPECT_GE(f.hooks->count("rebuildItemsWithShortcuts"), 1);
}
