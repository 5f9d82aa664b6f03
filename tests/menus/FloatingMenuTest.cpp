#include "MenusFixture.h"

#include "AnswerRecord.h"
#include "FloatingMenu.h"
#include "ItemRecord.h"

using namespace ItemRecord;

namespace {

struct Recorder {
    QStringList calls;
    FloatingMenu::Actions actions()
    {
        return {[this] { calls << "open"; },
                [this] { calls << "reveal"; },
                [this] { calls << "edit"; },
                [this] { calls << "email"; },
                [this] { calls << "browser"; },
                [this](const QString &text) { calls << "copy " + text; },
                [this] { calls << "close"; },
                [this](const QString &text) { calls << "paste " + text; },
                [this](const QString &id) { calls << "action " + id; }};
    }
};

QVariantMap pathRecord(int kind, const QString &path)
{
    return {{KeyKind, kind}, {KeyPath, path}};
}

} // namespace

TEST_F(MenusTest, PathRowsOfferTheActionsTheContentsAndTheEnclosingFolders)
{
    const QString folder = make(QStringLiteral("Projects"), true);
    const QString file = make(QStringLiteral("Projects/plan.txt"));
    Recorder recorder;
    const QStringList editor{"Open", "Show in file manager", "Edit…", "Date and duplicate…"};

    std::unique_ptr<QMenu> menu =
        FloatingMenu::build(pathRecord(KindFile, file), false, *mFolders, recorder.actions(), {});
    ASSERT_TRUE(menu);
    EXPECT_EQ(titles(menu.get()), editor + QStringList{"Enclosing folders"});
    const QStringList enclosing = titles(entry(menu.get(), "Enclosing folders")->menu());
    EXPECT_EQ(enclosing.first(), QStringLiteral("Projects"));
    EXPECT_EQ(enclosing.last(), QStringLiteral("/"));
    EXPECT_EQ(enclosing.size(), FloatingMenu::enclosingFolders(file, {}).size());
    entry(menu.get(), "Open")->trigger();
    entry(menu.get(), "Show in file manager")->trigger();
    entry(menu.get(), "Edit…")->trigger();
    entry(menu.get(), "Date and duplicate…")->trigger();
    EXPECT_EQ(recorder.calls, (QStringList{"open", "reveal", "edit"}));
    EXPECT_EQ(mEdited, QStringList{file});

    // A folder opens in the suite's browser too and adds its contents; from the right border,
    // only the contents and the path.
    menu =
        FloatingMenu::build(pathRecord(KindFile, folder), false, *mFolders, recorder.actions(), {});
    QStringList folderActions = editor;
    folderActions.insert(2, QStringLiteral("Open in the file browser"));
    EXPECT_EQ(titles(menu.get()),
              (folderActions + QStringList{"-", "Contents", "Enclosing folders"}));
    recorder.calls.clear();
    entry(menu.get(), "Open in the file browser")->trigger();
    EXPECT_EQ(recorder.calls, QStringList{"browser"});
    EXPECT_EQ(titles(entry(menu.get(), "Contents")->menu()),
              (QStringList{"plan.txt", "-", "Date and duplicate…"}));
    menu =
        FloatingMenu::build(pathRecord(KindFile, folder), true, *mFolders, recorder.actions(), {});
    const QStringList direct = titles(menu.get());
    EXPECT_EQ(direct.mid(0, 4), (QStringList{"plan.txt", "-", "Date and duplicate…", "-"}));
    EXPECT_EQ(direct.last(), QStringLiteral("/"));
    // The right border of a file is no shortcut to anything: the actions stay.
    menu = FloatingMenu::build(pathRecord(KindFile, file), true, *mFolders, recorder.actions(), {});
    EXPECT_EQ(titles(menu.get()).mid(0, 4), editor);

    // The clipboard's file has no editor of its own; a record without a path has no menu.
    menu = FloatingMenu::build(pathRecord(KindPasteboardPath, file), false, *mFolders,
                               recorder.actions(), {});
    EXPECT_FALSE(titles(menu.get()).contains("Edit…"));
    EXPECT_FALSE(FloatingMenu::build({{KeyKind, KindApplication}}, false, *mFolders,
                                     recorder.actions(), {}));
}

TEST_F(MenusTest, TheEnclosingFoldersOfAFileOnAnotherVolumeEndAtThatVolumesRoot)
{
    const QList<MountTable::Mount> mounts = {
        {"/", "ext4", "/dev/nvme0n1p2"},
        {"/home", "ext4", "/dev/nvme0n1p3"},
        {"/media/ann/STICK", "vfat", "/dev/sdb1"},
    };
    EXPECT_EQ(FloatingMenu::enclosingFolders("/media/ann/STICK/photos/cat.jpg", mounts),
              (QStringList{"/media/ann/STICK/photos", "/media/ann/STICK"}));
    // A system volume of its own is still part of the one tree.
    EXPECT_EQ(FloatingMenu::enclosingFolders("/home/ann/a.txt", mounts),
              (QStringList{"/home/ann", "/home", "/"}));
    EXPECT_EQ(FloatingMenu::enclosingFolders("/media/ann/STICK", mounts), QStringList());
    EXPECT_EQ(FloatingMenu::enclosingFolders("/", mounts), QStringList());
}

TEST_F(MenusTest, EveryOtherKindHasItsOwnEntriesOrNoMenu)
{
    Recorder recorder;
    auto build = [&](const QVariantMap &record) {
        std::unique_ptr<QMenu> menu =
            FloatingMenu::build(record, false, *mFolders, recorder.actions(), {});
        return menu ? titles(menu.get()) : QStringList{"<none>"};
    };
    EXPECT_EQ(build({{KeyKind, KindBookmark}}), QStringList{"Open"});
    EXPECT_EQ(build({{KeyKind, KindContact}}), QStringList{"Open"});
    EXPECT_EQ(build({{KeyKind, KindContact}, {KeyEmail, "\nann@example.org\nx@y"}}),
              (QStringList{"Open", "Send e-mail to ann@example.org"}));
    EXPECT_EQ(build({{KeyKind, KindNote}}), (QStringList{"Open", "Edit…"}));
    EXPECT_EQ(build({{KeyKind, KindProtectedNote}}), (QStringList{"Open", "Edit…"}));
    for (int kind : {int(KindStock), int(KindToDo), int(KindClipboard), 0, 42})
        EXPECT_EQ(build({{KeyKind, kind}}), QStringList{"<none>"}) << kind;
}

TEST_F(MenusTest, AnAnswersMenuCopiesACalculationClosesAWindowAndOpensTheRest)
{
    QVariantMap sum = AnswerRecord::make("AnswersCalculator", "14", "2 + (3 ⋅ 4)");
    sum.insert(AnswerRecord::KeyCopy, "14");
    Recorder recorder;
    std::unique_ptr<QMenu> menu =
        FloatingMenu::build(sum, false, *mFolders, recorder.actions(), {});
    ASSERT_TRUE(menu);
    EXPECT_EQ(titles(menu.get()),
              (QStringList{"Copy the result", "Paste the result", "Copy the expression"}));
    entry(menu.get(), "Copy the expression")->trigger();
    entry(menu.get(), "Copy the result")->trigger();
    entry(menu.get(), "Paste the result")->trigger();
    EXPECT_EQ(recorder.calls, (QStringList{"copy 2 + (3 ⋅ 4)", "copy 14", "paste 14"}));
    // Where keys cannot be sent to another window (a Wayland session), pasting is not offered.
    FloatingMenu::Actions withoutPaste = recorder.actions();
    withoutPaste.pasteText = nullptr;
    menu = FloatingMenu::build(sum, false, *mFolders, withoutPaste, {});
    EXPECT_EQ(titles(menu.get()), (QStringList{"Copy the result", "Copy the expression"}));

    QVariantMap search = AnswerRecord::make("AnswersWebKeywords", "Search Google for “quokka”",
                                            "https://www.google.com/search?q=quokka");
    search.insert(AnswerRecord::KeyOpenAddress, "https://www.google.com/search?q=quokka");
    menu = FloatingMenu::build(search, false, *mFolders, recorder.actions(), {});
    ASSERT_TRUE(menu);
    EXPECT_EQ(titles(menu.get()), QStringList{"Open"});

    QVariantMap window = AnswerRecord::make("AnswersWindows", "Quokka notes", "Window of Notes");
    window.insert(AnswerRecord::KeyWindow, qulonglong(0x1200007));
    menu = FloatingMenu::build(window, false, *mFolders, recorder.actions(), {});
    ASSERT_TRUE(menu);
    EXPECT_EQ(titles(menu.get()), (QStringList{"Bring to the front", "Close the window"}));
    recorder.calls.clear();
    entry(menu.get(), "Close the window")->trigger();
    entry(menu.get(), "Bring to the front")->trigger();
    EXPECT_EQ(recorder.calls, (QStringList{"close", "open"}));
}
