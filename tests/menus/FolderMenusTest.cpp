#include "MenusFixture.h"

#include "FolderListing.h"

#include <QSignalSpy>

TEST_F(MenusTest, AFolderListsItsVisibleChildrenByNameAndFillsSubmenusOnlyWhenReached)
{
    const QString root = make(QStringLiteral("Work"), true);
    make(QStringLiteral("Work/b notes.txt"));
    make(QStringLiteral("Work/Alpha.txt"));
    make(QStringLiteral("Work/.secret"));
    make(QStringLiteral("Work/Quiet/.only-hidden"));
    make(QStringLiteral("Work/Tool.app/inside"));
    make(QStringLiteral("Work/Deep/Deeper/file"));

    QMenu menu;
    const int tag = int(mPaths.size());
    mPaths << root;
    mFolders->addContentsOf(root, &menu, tag);
    EXPECT_EQ(titles(&menu),
              (QStringList{"Alpha.txt", "b notes.txt", "Deep", "Quiet", "Tool.app", "-",
                           "Date and duplicate…"}));
    // A package is a plain entry unless its contents are shown; folders wait to be reached.
    EXPECT_EQ(entry(&menu, "Tool.app")->menu(), nullptr);
    ASSERT_NE(entry(&menu, "Deep")->menu(), nullptr);
    EXPECT_TRUE(entry(&menu, "Deep")->menu()->isEmpty());

    EXPECT_EQ(highlight(&menu, "Quiet"), (QStringList{"Empty", "-", "Date and duplicate…"}));
    EXPECT_FALSE(entry(entry(&menu, "Quiet")->menu(), "Empty")->isEnabled());
    QMenu *deep = entry(&menu, "Deep")->menu();
    EXPECT_EQ(highlight(&menu, "Deep"), (QStringList{"Deeper", "-", "Date and duplicate…"}));
    EXPECT_EQ(highlight(&menu, "Deep").size(), 3) << "filled once";
    // Opened straight away (a tray host shows a submenu without a highlight first).
    QMenu *deeper = entry(deep, "Deeper")->menu();
    emit deeper->aboutToShow();
    EXPECT_EQ(titles(deeper), (QStringList{"file", "-", "Date and duplicate…"}));

    // Each entry stands for its path; the editor entry for the folder it closes.
    entry(&menu, "Alpha.txt")->trigger();
    entry(deeper, "file")->trigger();
    entry(deep, "Date and duplicate…")->trigger();
    EXPECT_EQ(mRevealed, (QStringList{root + "/Alpha.txt", root + "/Deep/Deeper/file"}));
    EXPECT_EQ(mEdited, QStringList{root + "/Deep"});

    // Another menu built meanwhile starts the path list again: these entries keep their paths.
    mPaths.clear();
    mPaths << "/somewhere/else";
    mRevealed.clear();
    entry(&menu, "b notes.txt")->trigger();
    EXPECT_EQ(mRevealed, QStringList{root + "/b notes.txt"});
    QMenu later;
    mFolders->addContentsOf(root, &later, 0);
    mPaths = {"/somewhere/else", "/and/another"};
    EXPECT_EQ(highlight(&later, "Deep"), (QStringList{"Deeper", "-", "Date and duplicate…"}));

    mSettings.showPackageContents = true;
    QMenu withPackages;
    mFolders->addContentsOf(root, &withPackages, tag);
    EXPECT_EQ(highlight(&withPackages, "Tool.app"),
              (QStringList{"inside", "-", "Date and duplicate…"}));

    // Names only: an unreadable or vanished folder lists as empty.
    QMenu missing;
    mFolders->addContentsOf(root + "/gone", &missing, tag);
    EXPECT_EQ(titles(&missing), (QStringList{"Empty", "-", "Date and duplicate…"}));
    EXPECT_TRUE(FolderListing::read(root + "/gone", false).isEmpty());
}
