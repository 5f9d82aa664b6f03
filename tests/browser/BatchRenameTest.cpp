#include "BatchRename.h"
#include "BrowserItem.h"
#include "BrowserTestFolder.h"
#include "QOR_StringUtils.h"

#include <QDir>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

class BatchRenameTest : public ::testing::Test
{
protected:
    void SetUp() override { QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en"))); }

    // The root's children, in the outline's order.
    QList<BrowserItem *> rows(const QString &folder = {})
    {
        mRoot = std::make_unique<BrowserItem>(folder.isEmpty() ? tree.path() : folder, std::nullopt,
                                              false, false);
        QList<BrowserItem *> items;
        for (int i = 0; i < mRoot->numberOfChildren(); ++i)
            items << mRoot->childAtIndex(i);
        return items;
    }

    QStringList onDisk() const
    {
        return QDir(tree.path())
            .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    }

    BrowserTestFolder tree;
    std::unique_ptr<BrowserItem> mRoot;
};

BatchRename::Scheme scheme(const QString &text, int digits = 3, bool keepExtension = true,
                           int first = 1)
{
    return {text, first, digits, keepExtension};
}

} // namespace

TEST_F(BatchRenameTest, TheSchemeNumbersTheItemsAndKeepsTheirExtensions)
{
    tree.file("photo.jpg");
    tree.file("scan.png");
    const QList<BrowserItem *> items = rows();
    EXPECT_TRUE(BatchRename::run(items, scheme("%N_%X")).isEmpty());
    EXPECT_EQ(onDisk(), QStringList({"photo_001.jpg", "scan_002.png"}));
    EXPECT_EQ(items.at(0)->localizedName(), "photo_001.jpg");
    EXPECT_EQ(items.at(1)->getPath(), tree.path("scan_002.png"));
}

TEST_F(BatchRenameTest, DateAndTimeComeFromTheModificationDate)
{
    const QDateTime when(QDate(2024, 3, 3), QTime(14, 5, 9));
    EXPECT_EQ(BatchRename::newName("/x/shot.jpg", scheme("%D-%T"), 1, when), "240303-14_05_09.jpg");
    EXPECT_EQ(BatchRename::newName("/x/shot.jpg", scheme("%D-%T", 3, false), 1, when),
              "240303-14_05_09");
    EXPECT_EQ(BatchRename::newName("/x/shot.jpg", scheme("%D %T"), 1, std::nullopt),
              "000000 00_00_00.jpg");
    // "%N" goes in last: placeholders in the item's own name stay.
    EXPECT_EQ(BatchRename::newName("/x/a%X.tar.gz", scheme("%N-%X", 2), 7, when), "a%X.tar-07.gz");
    // A leading dot starts no extension.
    EXPECT_EQ(BatchRename::newName("/x/.profile", scheme("%N_%X", 1), 4, when), ".profile_4");
}

TEST_F(BatchRenameTest, DigitCountsAreClampedCutAndRaisedForManyRows)
{
    EXPECT_EQ(BatchRename::numberText(7, 0), "7");
    EXPECT_EQ(BatchRename::numberText(7, 25), "0000000007");
    EXPECT_EQ(BatchRename::numberText(7, 3), "007");
    EXPECT_EQ(BatchRename::numberText(1234, 3), "234");
    EXPECT_EQ(BatchRename::widenedDigits(1, 12), 2);
    EXPECT_EQ(BatchRename::widenedDigits(2, 150), 3);
    EXPECT_EQ(BatchRename::widenedDigits(3, 12), 3);
    EXPECT_EQ(BatchRename::widenedDigits(1, 9), 1);
    EXPECT_EQ(BatchRename::widenedDigits(0, 100), 3);
}

TEST_F(BatchRenameTest, TheSameNewNameTwiceGetsANumberedSuffix)
{
    tree.file("a.txt", "A");
    tree.file("b.txt", "B");
    tree.file("c.md", "C"); // keeps its name: it is not moved but still uses a number
    QList<BrowserItem *> items = rows();
    EXPECT_TRUE(BatchRename::run(items, scheme("same")).isEmpty());
    EXPECT_EQ(onDisk(), QStringList({"same#1.txt", "same.md", "same.txt"}));
    EXPECT_EQ(BrowserTestFolder::contents(tree.path("same.txt")), "A");
    EXPECT_EQ(BrowserTestFolder::contents(tree.path("same#1.txt")), "B");

    // A name that is already the new one is left where it is.
    items = rows();
    EXPECT_TRUE(BatchRename::run({items.at(1)}, scheme("same")).isEmpty());
    EXPECT_EQ(onDisk(), QStringList({"same#1.txt", "same.md", "same.txt"}));
}

// Renaming onto a name that a later row of the same run still holds must not replace it.
TEST_F(BatchRenameTest, ASwapOfNumbersNeverReplacesAFile)
{
    tree.file("n_1.txt", "one");
    tree.file("n_2.txt", "two");
    QList<BrowserItem *> items = rows();
    std::reverse(items.begin(), items.end()); // n_2 first: it wants n_1, held by the other
    EXPECT_TRUE(BatchRename::run(items, scheme("n_%X", 1)).isEmpty());
    EXPECT_EQ(onDisk(), QStringList({"n_1#1.txt", "n_2.txt"}));
    EXPECT_EQ(BrowserTestFolder::contents(tree.path("n_1#1.txt")), "two");
    EXPECT_EQ(BrowserTestFolder::contents(tree.path("n_2.txt")), "one");
}

TEST_F(BatchRenameTest, AFailedRenameIsReportedAndTheRunGoesOn)
{
    const QString stuck = tree.file("locked/a.txt");
    tree.file("open/b.txt");
    const QList<BrowserItem *> locked = rows(tree.path("locked"));
    auto lockedRoot = std::move(mRoot);
    const QList<BrowserItem *> open = rows(tree.path("open"));
    // An immutable file cannot be renamed; without the right to set the flag, a read-only
    // folder does the same for anyone but root.
    BrowserTestFolder::Unchangeable immutable(stuck);
    if (!immutable.isSet() && BrowserTestFolder::runsAsRoot())
        GTEST_SKIP() << "no way to make a rename fail here";
    if (!immutable.isSet())
        QFile::setPermissions(tree.path("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);

    const QList<BatchRename::Failure> failures =
        BatchRename::run({locked.first(), open.first()}, scheme("new_%X", 1));
    QFile::setPermissions(tree.path("locked"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_EQ(failures.first().path, stuck);
    EXPECT_FALSE(failures.first().reason.isEmpty());
    EXPECT_TRUE(QFile::exists(stuck));
    EXPECT_TRUE(QFile::exists(tree.path("open/new_2.txt")));
    EXPECT_EQ(locked.first()->localizedName(), "a.txt");
}

TEST_F(BatchRenameTest, ANameThatIsNoFileNameIsRefused)
{
    tree.file("b.txt");
    const QList<BatchRename::Failure> slashed = BatchRename::run(rows(), scheme("a/b", 1, false));
    ASSERT_EQ(slashed.size(), 1);
    EXPECT_EQ(slashed.first().reason, "the new name is empty or holds a /");
    const QList<BatchRename::Failure> tooLong =
        BatchRename::run(rows(), scheme(QString(300, QLatin1Char('n')), 1, false));
    ASSERT_EQ(tooLong.size(), 1);
    EXPECT_FALSE(tooLong.first().reason.isEmpty());
    EXPECT_EQ(onDisk(), QStringList({"b.txt"}));
}

// A folder renamed first takes its listed rows along: the file inside, renamed next, is found.
TEST_F(BatchRenameTest, AFolderAndAFileInsideItRenameInOneRun)
{
    tree.file("album/a.jpg");
    const QList<BrowserItem *> top = rows();
    BrowserItem *album = top.first();
    ASSERT_EQ(album->numberOfChildren(), 1);
    EXPECT_TRUE(BatchRename::run({album, album->childAtIndex(0)}, scheme("%N_%X", 1)).isEmpty());
    EXPECT_TRUE(QFile::exists(tree.path("album_1/a_2.jpg")));
    EXPECT_EQ(album->childAtIndex(0)->getPath(), tree.path("album_1/a_2.jpg"));
}
