#include "BrowserItem.h"
#include "BrowserModel.h"
#include "BrowserTestFolder.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>

namespace {

QStringList namesOf(BrowserItem &item)
{
    QStringList names;
    for (int i = 0; i < item.numberOfChildren(); ++i)
        names << item.childAtIndex(i)->localizedName();
    return names;
}

BrowserItem *childNamed(BrowserItem &item, const QString &name)
{
    for (int i = 0; i < item.numberOfChildren(); ++i) {
        if (item.childAtIndex(i)->localizedName() == name)
            return item.childAtIndex(i);
    }
    return nullptr;
}

class BrowserItemTest : public ::testing::Test
{
protected:
    BrowserTestFolder tree;
};

} // namespace

TEST_F(BrowserItemTest, ListsAFolderByNameWithoutRegardToCase)
{
    tree.file("beta");
    tree.file("Alpha");
    tree.folder("gamma");
    BrowserItem root(tree.path(), std::nullopt, false, false);
    EXPECT_EQ(namesOf(root), QStringList({"Alpha", "beta", "gamma"}));
    EXPECT_EQ(root.localizedName(), "tree");
}

TEST_F(BrowserItemTest, HiddenEntriesAreListedOnlyWhenInvisibleEntriesAreShown)
{
    tree.file("visible.txt");
    tree.folder(".cache");
    tree.file("secret.txt");
    tree.file(".hidden", "secret.txt\n");
    BrowserItem hiding(tree.path(), std::nullopt, false, false);
    EXPECT_EQ(namesOf(hiding), QStringList({"visible.txt"}));
    BrowserItem showing(tree.path(), std::nullopt, true, false);
    EXPECT_EQ(namesOf(showing), QStringList({".cache", ".hidden", "secret.txt", "visible.txt"}));
}

TEST_F(BrowserItemTest, ApplicationBundlesAreLeavesUnlessTheirContentsAreShown)
{
    tree.file("Tools.app/Contents/Info.plist");
    tree.file("Other.APP/inside");
    BrowserItem hidden(tree.path(), std::nullopt, false, false);
    EXPECT_FALSE(childNamed(hidden, "Tools.app")->isDirectory());
    EXPECT_EQ(childNamed(hidden, "Tools.app")->numberOfChildren(), 0);
    EXPECT_TRUE(childNamed(hidden, "Other.APP")->isDirectory()); // the test is case-sensitive
    BrowserItem shown(tree.path(), std::nullopt, false, true);
    EXPECT_TRUE(childNamed(shown, "Tools.app")->isDirectory());

    // Rooted at the bundle itself, it is listed even with package contents hidden.
    BrowserItem bundle(tree.path("Tools.app"), std::nullopt, false, false);
    EXPECT_EQ(namesOf(bundle), QStringList({"Contents"}));
}

TEST_F(BrowserItemTest, LinksSocketsAndFilesAreLeaves)
{
    tree.folder("folder/inner");
    tree.file("plain.txt");
    ASSERT_TRUE(QFile::link(tree.path("folder"), tree.path("link")));
    const QByteArray socketPath = QFile::encodeName(tree.path("socket"));
    const int socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(std::size_t(socketPath.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, socketPath.constData(), std::size_t(socketPath.size()));
    ASSERT_EQ(::bind(socketFd, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);

    BrowserItem root(tree.path(), std::nullopt, false, false);
    for (const char *leaf : {"link", "socket", "plain.txt"}) {
        BrowserItem *item = childNamed(root, leaf);
        ASSERT_NE(item, nullptr) << leaf;
        EXPECT_FALSE(item->isDirectory()) << leaf;
        EXPECT_EQ(item->numberOfChildren(), 0) << leaf;
        EXPECT_EQ(item->children(), nullptr) << leaf;
    }
    EXPECT_TRUE(childNamed(root, "folder")->isDirectory());
    ::close(socketFd);

    // The browser opened on a linked folder shows what the link leads to.
    BrowserItem linkedRoot(tree.path("link"), std::nullopt, false, false);
    EXPECT_EQ(namesOf(linkedRoot), QStringList({"inner"}));
}

TEST_F(BrowserItemTest, AnUnreadableFolderExpandsToNothing)
{
    if (BrowserTestFolder::runsAsRoot())
        GTEST_SKIP() << "root reads every folder";
    tree.file("locked/inside.txt");
    QFile::setPermissions(tree.path("locked"), QFileDevice::WriteOwner);
    BrowserItem root(tree.path(), std::nullopt, false, false);
    BrowserItem *locked = childNamed(root, "locked");
    EXPECT_TRUE(locked->isDirectory());
    EXPECT_EQ(locked->numberOfChildren(), 0);
    QFile::setPermissions(tree.path("locked"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(BrowserItemTest, ARenamedNodeShowsTheNewNameAsGiven)
{
    tree.file("old.txt");
    BrowserItem root(tree.path(), std::nullopt, false, false);
    BrowserItem *item = childNamed(root, "old.txt");
    item->changeName("new.txt");
    EXPECT_EQ(item->getPath(), tree.path("new.txt"));
    EXPECT_EQ(item->localizedName(), "new.txt");
}

// A folder's rows are read when the view asks for them and never again; the folders beside it
// stay unread.
TEST_F(BrowserItemTest, TheModelReadsAFolderOnceAndOnlyWhenAsked)
{
    tree.file("first/a.txt");
    tree.file("first/b.txt");
    tree.file("second/c.txt");
    BrowserModel model;
    model.setRoot(std::make_unique<BrowserItem>(tree.path(), std::nullopt, false, false));
    ASSERT_EQ(model.rowCount(), 2);
    const QModelIndex first = model.index(0, 0);
    const QModelIndex second = model.index(1, 0);
    BrowserItem *firstItem = model.itemAt(first);
    BrowserItem *secondItem = model.itemAt(second);

    EXPECT_TRUE(model.hasChildren(first));
    EXPECT_FALSE(firstItem->isListed());
    EXPECT_EQ(model.rowCount(first), 0);
    EXPECT_FALSE(firstItem->isListed());
    ASSERT_TRUE(model.canFetchMore(first));
    model.fetchMore(first);
    EXPECT_TRUE(firstItem->isListed());
    EXPECT_FALSE(secondItem->isListed());
    EXPECT_EQ(model.rowCount(first), 2);

    // Read once: a file added later is not seen, however often the rows are asked for.
    tree.file("first/later.txt");
    EXPECT_FALSE(model.canFetchMore(first));
    model.fetchMore(first);
    EXPECT_EQ(model.rowCount(first), 2);
    EXPECT_EQ(model.index(1, 0, first).data().toString(), "b.txt");
    EXPECT_EQ(model.parent(model.index(1, 0, first)), first);
}

TEST_F(BrowserItemTest, ResortingKeepsTheViewOnTheSameItems)
{
    tree.file("a.txt");
    tree.file("m.txt");
    BrowserModel model;
    model.setRoot(std::make_unique<BrowserItem>(tree.path(), std::nullopt, false, false));
    const QPersistentModelIndex held(model.index(0, 0));
    BrowserItem *item = model.itemAt(held);
    ASSERT_EQ(item->localizedName(), "a.txt");
    item->changeName("z.txt");
    model.resort();
    EXPECT_EQ(held.row(), 1);
    EXPECT_EQ(model.itemAt(held), item);
    EXPECT_EQ(model.index(0, 0).data().toString(), "m.txt");
}
