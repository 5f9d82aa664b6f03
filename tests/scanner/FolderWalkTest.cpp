#include "ApplicationFolderWalk.h"
#include "ApplicationScanner.h"
#include "ItemRecord.h"
#include "ScannerFixtures.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ScannerFixtures;

namespace {

// Path to title of every record, for order-free comparison.
QMap<QString, QString> titlesByPath(const QVariantList &list)
{
    QMap<QString, QString> titles;
    for (const QVariant &item : list) {
        const QVariantMap record = item.toMap();
        titles.insert(record.value(ItemRecord::KeyPath).toString(),
                      record.value(ItemRecord::KeyTitle).toString());
    }
    return titles;
}

class FolderWalkTest : public ::testing::Test
{
protected:
    QString at(const QString &relative) const { return mRoot.path() + QLatin1Char('/') + relative; }
    QVariantList scan(const QStringList &relativeFolders) const
    {
        QStringList folders;
        for (const QString &folder : relativeFolders)
            folders << at(folder);
        return ApplicationScanner::scanFolders(folders);
    }
    QTemporaryDir mRoot;
};

} // namespace

TEST_F(FolderWalkTest, BundlesAreFoundAtAnyDepthButNotEntered)
{
    makeFolder(at("apps/Top.app/Contents/Inner.app"));
    makeFolder(at("apps/Utilities/Deep/Nested.app"));
    makeFolder(at("apps/Utilities/Display.prefPane"));
    makeFolder(at("apps/Games.localized/Chess.app"));

    const QVariantList found = scan({"apps"});

    const QMap<QString, QString> expected = {{at("apps/Top.app"), "Top"},
                                             {at("apps/Utilities/Deep/Nested.app"), "Nested"},
                                             {at("apps/Utilities/Display.prefPane"), "Display"},
                                             {at("apps/Games.localized/Chess.app"), "Chess"}};
    EXPECT_EQ(titlesByPath(found), expected);
    for (const QVariant &item : found) {
        EXPECT_EQ(item.toMap().keys(), (QStringList{"P", "T", "x"}));
        EXPECT_EQ(ItemRecord::kind(item.toMap()), ItemRecord::KindApplication);
    }
}

TEST_F(FolderWalkTest, ExtensionCaseLinksFilesAndHiddenNamesAreNotListed)
{
    makeFolder(at("apps/Tool.APP/Helper.app"));
    makeFolder(at("apps/.Hidden.app"));
    makeFolder(at("apps/.cache/Cached.app"));
    makeFolder(at("elsewhere/Real.app"));
    makeFolder(at("elsewhere/Sub/Other.app"));
    writeFile(at("apps/Plain.app"), "a file, not a folder");
    QFile::link(at("elsewhere/Real.app"), at("apps/Linked.app"));
    QFile::link(at("elsewhere/Sub"), at("apps/LinkedFolder"));

    const QVariantList found = scan({"apps"});

    EXPECT_EQ(titlesByPath(found),
              (QMap<QString, QString>{{at("apps/Tool.APP/Helper.app"), "Helper"}}));
}

TEST_F(FolderWalkTest, MissingFoldersContributeNothing)
{
    makeFolder(at("apps/One.app"));
    const QVariantList found = scan({"missing", "apps", "missing/again"});
    EXPECT_EQ(titlesByPath(found), (QMap<QString, QString>{{at("apps/One.app"), "One"}}));
}

TEST_F(FolderWalkTest, DesktopEntriesListOnlyShownApplications)
{
    writeDesktopEntry(at("apps/editor.desktop"), "Text Editor");
    writeDesktopEntry(at("apps/hidden.desktop"), "Hidden One", "Hidden=true\n");
    writeDesktopEntry(at("apps/nodisplay.desktop"), "Invisible", "NoDisplay=true\n");
    writeDesktopEntry(at("apps/tryexec-missing.desktop"), "Not Installed",
                      "TryExec=korvale-no-such-program-here\n");
    writeDesktopEntry(at("apps/tryexec-found.desktop"), "Installed", "TryExec=true\n");
    writeFile(at("apps/link.desktop"),
              "[Desktop Entry]\nType=Link\nName=A Link\nURL=https://example.org\n");
    writeFile(at("apps/broken.desktop"), "not a desktop entry at all");
    writeFile(at("apps/readme.txt"), "[Desktop Entry]\nType=Application\nName=X\nExec=true\n");
    writeDesktopEntry(at("apps/.hidden-file.desktop"), "Dot File");

    const QVariantList found = scan({"apps"});

    EXPECT_EQ(titlesByPath(found),
              (QMap<QString, QString>{{at("apps/editor.desktop"), "Text Editor"},
                                      {at("apps/tryexec-found.desktop"), "Installed"}}));
}

TEST_F(FolderWalkTest, DesktopEntryTitleIsTheLocalisedName)
{
    const QByteArray saved = qgetenv("LANGUAGE");
    qputenv("LANGUAGE", "fr");
    writeDesktopEntry(at("apps/calc.desktop"), "Calculator", "Name[fr]=Calculatrice\n");
    const QVariantList found = scan({"apps"});
    if (saved.isNull())
        qunsetenv("LANGUAGE");
    else
        qputenv("LANGUAGE", saved);
    EXPECT_EQ(titlesByPath(found),
              (QMap<QString, QString>{{at("apps/calc.desktop"), "Calculatrice"}}));
}

TEST_F(FolderWalkTest, LinkedDesktopEntriesAreListedUnderTheLinkPath)
{
    // Flatpak exports its entries as links into the application's own tree.
    writeDesktopEntry(at("deploy/org.example.Viewer.desktop"), "Viewer");
    makeFolder(at("exports"));
    QFile::link(at("deploy/org.example.Viewer.desktop"), at("exports/org.example.Viewer.desktop"));
    QFile::link(at("deploy/gone.desktop"), at("exports/dangling.desktop"));

    const QVariantList found = scan({"exports"});

    EXPECT_EQ(titlesByPath(found),
              (QMap<QString, QString>{{at("exports/org.example.Viewer.desktop"), "Viewer"}}));
}

TEST_F(FolderWalkTest, FirstFolderWinsADesktopFileId)
{
    writeDesktopEntry(at("user/editor.desktop"), "My Editor");
    writeDesktopEntry(at("system/editor.desktop"), "System Editor");
    // "kde/konsole.desktop" below a folder has the ID "kde-konsole.desktop".
    writeDesktopEntry(at("user/kde/konsole.desktop"), "My Konsole");
    writeDesktopEntry(at("system/kde-konsole.desktop"), "System Konsole");
    // An entry that hides an application still takes its ID.
    writeDesktopEntry(at("user/mailer.desktop"), "Mailer", "Hidden=true\n");
    writeDesktopEntry(at("system/mailer.desktop"), "Mailer");
    writeDesktopEntry(at("system/only-system.desktop"), "Only System");

    const QVariantList found = scan({"user", "system"});

    EXPECT_EQ(titlesByPath(found),
              (QMap<QString, QString>{{at("user/editor.desktop"), "My Editor"},
                                      {at("user/kde/konsole.desktop"), "My Konsole"},
                                      {at("system/only-system.desktop"), "Only System"}}));
}

TEST_F(FolderWalkTest, BundleTitleHidesOnlyTheLastExtension)
{
    EXPECT_EQ(ApplicationFolderWalk::bundleTitle("Mail.app"), "Mail");
    EXPECT_EQ(ApplicationFolderWalk::bundleTitle("Sound.prefPane"), "Sound");
    EXPECT_EQ(ApplicationFolderWalk::bundleTitle("Visual Studio 2.0.app"), "Visual Studio 2.0");
}
