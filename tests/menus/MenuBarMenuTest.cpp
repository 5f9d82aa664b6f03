#include "MenusFixture.h"

#include "ItemRecord.h"
#include "MenuBarMenu.h"

using namespace ItemRecord;

TEST_F(MenusTest, TheMenuBarMenuHoldsTheClipboardFilesVolumesAndAtMost35RecentItems)
{
    const QString folder = make(QStringLiteral("Projects"), true);
    const QString file = make(QStringLiteral("report.pdf"));
    const QString stick = make(QStringLiteral("stick"), true);
    make(QStringLiteral("stick/photo.jpg"));

    MenuBarMenu::Sources sources;
    sources.clipboardText = QStringLiteral("forty\tcharacters of copied text, shown cut");
    sources.clipboardFile = file;
    sources.volumes = {QVariantMap{{"volName", "STICK"}, {"volPath", stick}},
                       QVariantMap{{"volName", "no mount point"}}};
    sources.files = {QVariantMap{{KeyKind, KindFile}, {KeyPath, folder}},
                     QVariantMap{{KeyKind, KindFile}, {KeyPath, mTree.filePath("gone.txt")}}};
    // 100 recent items: 60 paths that exist, 20 that do not, 20 without a path.
    for (int i = 0; i < 100; ++i) {
        QString path;
        if (i % 5 == 1)
            path = mTree.filePath(QStringLiteral("missing%1").arg(i));
        else if (i % 5 != 3)
            path = make(QStringLiteral("recent/%1.txt").arg(i, 3, 10, QLatin1Char('0')));
        sources.recentItems << QVariantMap{{KeyKind, path.isEmpty() ? KindNote : KindFile},
                                           {KeyPath, path}};
    }
    QList<int> pasted, recentOpened;
    MenuBarMenu::Actions actions;
    actions.pasteText = [&](int tag) { pasted << tag; };
    actions.openRecentItem = [&](int tag) { recentOpened << tag; };

    mPaths << "left from the last menu";
    QMenu menu;
    MenuBarMenu::build(&menu, sources, *mFolders, actions);
    EXPECT_EQ(titles(&menu),
              (QStringList{"Clipboard", "-", "report.pdf", "-", "Volumes", "-", "Projects",
                           "gone.txt", "-", "Recent items", "Open the access window",
                           "Open file browser", "Korvale manager…", "-", "Quit"}));

    const QString sample = QStringLiteral("forty characters of copied text, sh...");
    EXPECT_EQ(titles(entry(&menu, "Clipboard")->menu()),
              (QStringList{"Plain text: " + sample, "UPPER CASE: " + sample.toUpper(),
                           "lower case: " + sample.toLower(),
                           "Capitalised Words: Forty Characters Of Copied Text, Sh..."}));
    entry(entry(&menu, "Clipboard")->menu(), "UPPER CASE: " + sample.toUpper())->trigger();
    EXPECT_EQ(pasted, QList<int>{2});

    // The clipboard's file is no folder: its submenu has only the editor.
    EXPECT_EQ(titles(entry(&menu, "report.pdf")->menu()), QStringList{"Date and duplicate…"});
    EXPECT_EQ(highlight(&menu, "Volumes"), QStringList{"STICK"});
    EXPECT_EQ(highlight(entry(&menu, "Volumes")->menu(), "STICK"),
              (QStringList{"photo.jpg", "-", "Date and duplicate…"}));
    EXPECT_EQ(entry(&menu, "gone.txt")->menu(), nullptr);

    const QStringList recent = titles(entry(&menu, "Recent items")->menu());
    ASSERT_EQ(recent.size(), MenuBarMenu::RecentItemsShown);
    EXPECT_EQ(recent.first(), QStringLiteral("000.txt"));
    entry(entry(&menu, "Recent items")->menu(), "002.txt")->trigger();
    EXPECT_EQ(recentOpened, QList<int>{2}) << "tagged with its place in the recent items";

    // The path list starts again with each menu, and every tag names its own path.
    EXPECT_FALSE(mPaths.contains("left from the last menu"));
    entry(&menu, "Projects")->trigger();
    EXPECT_EQ(mRevealed, QStringList{folder});

    // Nothing to paste, nothing on the clipboard, nothing recent: those entries are left out.
    MenuBarMenu::clear(&menu);
    EXPECT_TRUE(menu.actions().isEmpty());
    MenuBarMenu::build(&menu, {}, *mFolders, actions);
    EXPECT_EQ(titles(&menu),
              (QStringList{"Volumes", "-", "-", "Open the access window", "Open file browser",
                           "Korvale manager…", "-", "Quit"}));
}

TEST(MenuBarMenuSample, IsOneLineCutAfter35CharactersAndTransformedLikeItsEntry)
{
    const QString exact(35, QLatin1Char('a'));
    EXPECT_EQ(MenuBarMenu::clipboardSample(exact, 1), exact);
    EXPECT_EQ(MenuBarMenu::clipboardSample(exact + "b", 2), exact.toUpper() + "...");
    EXPECT_EQ(MenuBarMenu::clipboardSample("one\ntwo\r\nthree", 4), "One Two  Three");
}
