#include "DocumentFolderWalk.h"
#include "ItemRecord.h"
#include "NativeFileName.h"
#include "ScannerFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/mount.h>
#include <unistd.h>

using namespace ScannerFixtures;

namespace {

class DocumentFolderWalkTest : public ::testing::Test
{
protected:
    QString at(const QString &relative) const { return mRoot.path() + QLatin1Char('/') + relative; }
    // Path below the root to folder flag.
    QMap<QString, int> found(const QVariantList &records) const
    {
        QMap<QString, int> paths;
        for (const QVariant &item : records) {
            const QVariantMap record = item.toMap();
            EXPECT_EQ(ItemRecord::kind(record), ItemRecord::KindFile);
            paths.insert(record.value("P").toString().mid(mRoot.path().size() + 1),
                         record.value("D").toInt());
        }
        return paths;
    }
    QTemporaryDir mRoot;
};

} // namespace

TEST_F(DocumentFolderWalkTest, ListsWhatTheUserSeesWithinItsBounds)
{
    writeFile(at("docs/projects/2026/invoice-2026.pdf"), "%PDF");
    writeFile(at("docs/notes.txt"), "n");
    // Hidden: a leading dot, or named in the folder's ".hidden".
    writeFile(at("docs/.secret/key.txt"), "k");
    writeFile(at("docs/.hidden"), "private\r\nold.txt\n");
    writeFile(at("docs/private/diary.txt"), "d");
    writeFile(at("docs/old.txt"), "o");
    // Caches: named ones are left out, a tagged one is listed but not entered.
    writeFile(at("docs/app/node_modules/lib/index.js"), "");
    writeFile(at("docs/app/__pycache__/m.pyc"), "");
    writeFile(at("docs/app/.git/HEAD"), "");
    writeFile(at("docs/build/CACHEDIR.TAG"), "Signature: 8a477f597d28d172789f06886806bc55");
    writeFile(at("docs/build/out.o"), "");
    // Links: to a file it is the file's entry; to a folder (here a loop) it is not followed.
    ASSERT_EQ(symlink(QFile::encodeName(at("docs/notes.txt")).constData(),
                      QFile::encodeName(at("docs/notes-link.txt")).constData()),
              0);
    ASSERT_EQ(symlink(QFile::encodeName(at("docs")).constData(),
                      QFile::encodeName(at("docs/projects/loop")).constData()),
              0);
    // Depth: with three levels of folders entered, "deep/a/b/c" is listed and not entered.
    writeFile(at("docs/deep/a/b/c/too-deep.txt"), "");
    // A name that is not UTF-8 keeps its bytes.
    const QByteArray latin1 = QFile::encodeName(at("docs/")) + "caf\xe9.txt";
    writeFile(at("docs/placeholder"), "");
    ASSERT_EQ(::rename(QFile::encodeName(at("docs/placeholder")).constData(), latin1.constData()),
              0);
    // An included folder inside another is listed under its own report only.
    writeFile(at("docs/shared/report.odt"), "");

    DocumentWalkLimits limits;
    limits.maxDepth = 3;
    auto cache = std::make_shared<DocumentWalkCache>();
    const QStringList roots{at("docs"), at("docs/shared/")};
    DocumentFolderWalk::Result result = DocumentFolderWalk(limits, cache).walk(roots);

    const QString cafe = NativeFileName::fromNative("docs/caf\xe9.txt");
    const QMap<QString, int> expected{
        {"docs/app", 1},
        {"docs/build", 1},
        {cafe, 0},
        {"docs/deep", 1},
        {"docs/deep/a", 1},
        {"docs/deep/a/b", 1},
        {"docs/deep/a/b/c", 1},
        {"docs/notes-link.txt", 0},
        {"docs/notes.txt", 0},
        {"docs/projects", 1},
        {"docs/projects/2026", 1},
        {"docs/projects/2026/invoice-2026.pdf", 0},
        {"docs/shared/report.odt", 0},
    };
    EXPECT_EQ(found(result.records), expected);
    ASSERT_EQ(result.folders.size(), 2);
    EXPECT_EQ(result.folders.at(0).entries, 12);
    EXPECT_EQ(result.folders.at(0).cut,
              (DocumentWalkCut{DocumentWalkCut::Reason::Depth, at("docs/deep/a/b/c")}));
    EXPECT_EQ(result.folders.at(1), (DocumentFolderReport{at("docs/shared/"), 1, {}}));

    for (const QVariant &item : std::as_const(result.records)) {
        const QVariantMap record = item.toMap();
        if (!record.value("P").toString().endsWith(cafe))
            continue;
        EXPECT_EQ(NativeFileName::toNative(record.value("P").toString()), latin1);
        EXPECT_EQ(record.value("T").toString(), QString::fromUtf8("caf\xef\xbf\xbd.txt"));
        // Stored, the path's text loses the byte: "N" keeps it and gives it back.
        QVariantList stored{QVariantMap{{"x", 2}, {"P", "caf?"}, {"N", record.value("N")}}};
        DocumentFolderWalk::restoreNativePaths(stored);
        EXPECT_EQ(NativeFileName::toNative(stored.at(0).toMap().value("P").toString()), latin1);
    }

    // Unchanged: the second walk reads no folder and says so; a new file is seen.
    EXPECT_TRUE(DocumentFolderWalk(limits, cache).walk(roots).unchanged);
    writeFile(at("docs/projects/2026/receipt.pdf"), "");
    result = DocumentFolderWalk(limits, cache).walk(roots);
    EXPECT_FALSE(result.unchanged);
    EXPECT_TRUE(found(result.records).contains("docs/projects/2026/receipt.pdf"));

    // The cap on the whole: the walk stops at it and says where.
    limits.maxEntries = 5;
    result = DocumentFolderWalk(limits, cache).walk(roots);
    EXPECT_EQ(result.records.size(), 5);
    EXPECT_EQ(result.folders.at(0).cut.reason, DocumentWalkCut::Reason::Total);
    EXPECT_EQ(result.folders.at(1).entries, 0);
}

TEST_F(DocumentFolderWalkTest, IncludedFoldersAreTheTickedFolders)
{
    const QVariantList files{
        QVariantMap{{"x", 2}, {"P", "/home/u"}, {"D", 1}},
        QVariantMap{{"x", 2}, {"P", "/home/u/Documents"}, {"D", 1}, {"F", 1}},
        QVariantMap{{"x", 2}, {"P", "/home/u/Music"}, {"D", 1}, {"F", 0}},
        QVariantMap{{"x", 2}, {"P", "/home/u/a.pdf"}, {"D", 0}, {"F", 1}},
    };
    EXPECT_EQ(DocumentFolderWalk::includedFolders(files), QStringList{"/home/u/Documents"});
}

// A file system mounted below an included folder (a USB disk, a network share) is listed and
// not entered, unless it is itself included.
TEST_F(DocumentFolderWalkTest, AnotherFileSystemBelowIsEnteredOnlyWhenIncluded)
{
    writeFile(at("docs/local.txt"), "");
    ASSERT_TRUE(QDir().mkpath(at("docs/usb")));
    if (::mount("tmpfs", QFile::encodeName(at("docs/usb")).constData(), "tmpfs", 0, "size=64k")
        != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    writeFile(at("docs/usb/photo.jpg"), "");
    DocumentWalkLimits limits;
    const QStringList docsOnly{at("docs")};
    QMap<QString, int> paths = found(
        DocumentFolderWalk(limits, std::make_shared<DocumentWalkCache>()).walk(docsOnly).records);
    EXPECT_EQ(paths, (QMap<QString, int>{{"docs/local.txt", 0}, {"docs/usb", 1}}));
    const QStringList both{at("docs"), at("docs/usb")};
    paths =
        found(DocumentFolderWalk(limits, std::make_shared<DocumentWalkCache>()).walk(both).records);
    EXPECT_TRUE(paths.contains("docs/usb/photo.jpg"));
    ::umount2(QFile::encodeName(at("docs/usb")).constData(), MNT_DETACH);
}
