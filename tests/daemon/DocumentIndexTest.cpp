#include "DocumentIndex.h"

#include "ArchiveFile.h"
#include "ItemRecord.h"
#include "KorvaleLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

template <typename Predicate> bool waitFor(Predicate predicate, int ms = 5000)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (predicate())
            return true;
        QTest::qWait(20);
    }
    return predicate();
}

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
}

bool holds(const QVariantList &records, const QString &path)
{
    return std::any_of(records.cbegin(), records.cend(), [&path](const QVariant &item) {
        return item.toMap().value(ItemRecord::KeyPath).toString() == path;
    });
}

class DocumentIndexTest : public ::testing::Test
{
protected:
    QString at(const QString &relative) const { return mTree.path() + "/docs/" + relative; }
    DocumentIndex::Options options() const
    {
        DocumentIndex::Options options;
        options.file = mData.path() + "/Documents.krvdata";
        options.settleMs = 50;
        return options;
    }
    QTemporaryDir mTree, mData;
};

} // namespace

TEST_F(DocumentIndexTest, FollowsCreationsRemovalsAndRenamesAndWritesOnlyChanges)
{
    touch(at("a/b/c/first.txt"));
    DocumentIndex index(options());
    index.setFolders({mTree.path() + "/docs"});
    ASSERT_TRUE(waitFor([&] { return index.hasIndexed() && !index.isIndexing(); }));
    EXPECT_TRUE(holds(index.documents(), at("a/b/c/first.txt")));
    EXPECT_EQ(ArchiveFile::readList(options().file), index.documents());
    EXPECT_EQ(index.writeCount(), 1);
    EXPECT_FALSE(index.isWatchFallback());

    touch(at("a/b/c/second.txt"));
    ASSERT_TRUE(waitFor([&] { return holds(index.documents(), at("a/b/c/second.txt")); }));
    QFile::rename(at("a/b/c/second.txt"), at("a/renamed.txt"));
    ASSERT_TRUE(waitFor([&] {
        return holds(index.documents(), at("a/renamed.txt"))
            && !holds(index.documents(), at("a/b/c/second.txt"));
    }));
    QFile::remove(at("a/b/c/first.txt"));
    ASSERT_TRUE(waitFor([&] { return !holds(index.documents(), at("a/b/c/first.txt")); }));
    // A folder made after the walk is watched too.
    touch(at("new/inside.txt"));
    ASSERT_TRUE(waitFor([&] { return holds(index.documents(), at("new/inside.txt")); }));
    EXPECT_EQ(ArchiveFile::readList(options().file), index.documents());
    // A ".hidden" written in place leaves its folder's times as they were, yet hides a name.
    touch(at("a/.hidden"));
    const int walksBefore = index.walkCount();
    ASSERT_TRUE(waitFor([&] { return index.walkCount() > walksBefore && !index.isIndexing(); }));
    {
        QFile hidden(at("a/.hidden"));
        ASSERT_TRUE(hidden.open(QIODevice::ReadWrite));
        hidden.write("renamed.txt\n");
    }
    ASSERT_TRUE(waitFor([&] { return !holds(index.documents(), at("a/renamed.txt")); }));

    // Unchanged: nothing is written.
    const int writes = index.writeCount();
    const int walks = index.walkCount();
    index.rescan();
    ASSERT_TRUE(waitFor([&] { return index.walkCount() > walks && !index.isIndexing(); }));
    EXPECT_EQ(index.writeCount(), writes);

    // A second agent over the same file and tree writes nothing either.
    DocumentIndex again(options());
    again.setFolders({mTree.path() + "/docs"});
    ASSERT_TRUE(waitFor([&] { return again.hasIndexed() && !again.isIndexing(); }));
    EXPECT_EQ(again.writeCount(), 0);
    EXPECT_EQ(again.documents(), index.documents());

    // The folder no longer included: its documents go.
    index.setFolders({});
    ASSERT_TRUE(waitFor([&] { return index.documents().isEmpty() && !index.isIndexing(); }));
    EXPECT_EQ(ArchiveFile::readList(options().file), QVariantList());
}

TEST_F(DocumentIndexTest, PastTheWatchLimitTheFoldersAreRescannedOnATimer)
{
    touch(at("one/x.txt"));
    touch(at("two/y.txt"));
    QStringList log;
    KorvaleLog::setSink([&log](const QString &line) { log << line; });
    DocumentIndex::Options limited = options();
    limited.watchLimit = 1;
    limited.fallbackIntervalMs = 200;
    DocumentIndex index(limited);
    index.setFolders({mTree.path() + "/docs"});
    ASSERT_TRUE(waitFor([&] { return index.hasIndexed() && !index.isIndexing(); }));
    EXPECT_TRUE(index.isWatchFallback());

    // Only the included folder itself is watched: a file in a subfolder is found by the timer.
    touch(at("two/z.txt"));
    ASSERT_TRUE(waitFor([&] { return holds(index.documents(), at("two/z.txt")); }));
    QFile::remove(at("one/x.txt"));
    ASSERT_TRUE(waitFor([&] { return !holds(index.documents(), at("one/x.txt")); }));
    KorvaleLog::setSink({});
    EXPECT_EQ(log.filter("watch limit").size(), 1) << log.join('\n').toStdString();
}
