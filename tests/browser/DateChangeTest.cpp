#include "DateChange.h"
#include "BrowserItem.h"
#include "BrowserTestFolder.h"

#include <gtest/gtest.h>

namespace {

class DateChangeTest : public ::testing::Test
{
protected:
    BrowserTestFolder tree;
    const QDateTime ten = QDateTime(QDate(2023, 5, 1), QTime(10, 0, 0));
};

QList<BrowserItem *> childrenOf(BrowserItem &root)
{
    QList<BrowserItem *> items;
    for (int i = 0; i < root.numberOfChildren(); ++i)
        items << root.childAtIndex(i);
    return items;
}

} // namespace

TEST_F(DateChangeTest, AShiftMovesEveryDateByTheSameAmountAndAbsoluteSetsOneDate)
{
    const QString a = tree.file("a.txt");
    const QString b = tree.file("b.txt");
    BrowserTestFolder::setModified(a, ten);
    BrowserTestFolder::setModified(b, ten.addDays(-3));
    BrowserItem root(tree.path(), std::nullopt, false, false);
    const QList<BrowserItem *> items = childrenOf(root);

    // The reference (a) moved from 10:00 to 12:00: everything two hours later.
    const QDateTime noon = ten.addSecs(2 * 3600);
    EXPECT_TRUE(DateChange::run(items, noon, false, double(ten.secsTo(noon)), false).isEmpty());
    EXPECT_EQ(BrowserTestFolder::modified(a), noon);
    EXPECT_EQ(BrowserTestFolder::modified(b), ten.addDays(-3).addSecs(2 * 3600));

    EXPECT_TRUE(DateChange::run(items, ten, true, 0, false).isEmpty());
    EXPECT_EQ(BrowserTestFolder::modified(a), ten);
    EXPECT_EQ(BrowserTestFolder::modified(b), ten);
}

// Inside a selected folder the tree's own rule decides what is reached: hidden entries keep
// their dates while hidden entries are not shown, and change when they are.
TEST_F(DateChangeTest, FolderContentsFollowTheHiddenEntryRule)
{
    const QString folder = tree.folder("album");
    const QString shown = tree.file("album/shown.jpg");
    const QString dotted = tree.file("album/.thumbs");
    const QString listed = tree.file("album/listed.jpg");
    tree.file("album/.hidden", "listed.jpg\n");
    const QString deep = tree.file("album/sub/deep.jpg");
    const QDateTime before(QDate(2020, 1, 1), QTime(8, 0, 0));
    for (const QString &path : {shown, dotted, listed, deep})
        BrowserTestFolder::setModified(path, before);

    {
        BrowserItem root(tree.path(), std::nullopt, false, false);
        EXPECT_TRUE(DateChange::run(childrenOf(root), ten, true, 0, true).isEmpty());
    }
    EXPECT_EQ(BrowserTestFolder::modified(folder), ten);
    EXPECT_EQ(BrowserTestFolder::modified(shown), ten);
    EXPECT_EQ(BrowserTestFolder::modified(deep), ten);
    EXPECT_EQ(BrowserTestFolder::modified(dotted), before);
    EXPECT_EQ(BrowserTestFolder::modified(listed), before);

    BrowserItem showing(tree.path(), std::nullopt, true, false);
    EXPECT_TRUE(DateChange::run(childrenOf(showing), ten, true, 0, true).isEmpty());
    EXPECT_EQ(BrowserTestFolder::modified(dotted), ten);
    EXPECT_EQ(BrowserTestFolder::modified(listed), ten);
}

TEST_F(DateChangeTest, AFailedDateChangeIsReportedAndTheRunGoesOn)
{
    const QString mine = tree.file("mine.txt");
    // An immutable file keeps its date; without the right to set the flag, a file of another
    // user does for anyone but root.
    QString stuck = tree.file("stuck.txt");
    BrowserTestFolder::Unchangeable immutable(stuck);
    if (!immutable.isSet()) {
        stuck = QStringLiteral("/etc/hostname");
        if (BrowserTestFolder::runsAsRoot() || !QFileInfo::exists(stuck))
            GTEST_SKIP() << "no way to make a date change fail here";
    }
    BrowserItem other(stuck, QFileInfo(stuck).fileName(), false, false);
    BrowserItem root(tree.path(), std::nullopt, false, false);
    ASSERT_GE(root.numberOfChildren(), 1);
    const QList<BatchRename::Failure> failures =
        DateChange::run({&other, root.childAtIndex(0)}, ten, true, 0, false);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_EQ(failures.first().path, stuck);
    EXPECT_FALSE(failures.first().reason.isEmpty());
    EXPECT_EQ(BrowserTestFolder::modified(mine), ten);
}
