#include "RecentItems.h"
#include "OpeningAddresses.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QVariantMap rec(std::initializer_list<std::pair<const QString, QVariant>> values)
{
    return QVariantMap(values);
}

} // namespace

TEST(RecentItemsTest, IdentityFollowsTheKind)
{
    QVariantList list;
    RecentItems::insert(list, rec({{"x", 3}, {"U", "http://a"}, {"T", "A"}}));
    RecentItems::insert(list, rec({{"x", 4}, {"T", "Ann"}, {"t", "details"}}));
    RecentItems::insert(list, rec({{"x", 8}, {"T", "Call"}}));
    RecentItems::insert(list, rec({{"x", 2}, {"P", "/a"}}));
    ASSERT_EQ(list.size(), 4);

    // Same text under another title is the same contact; the same title of a to-do item is not.
    RecentItems::insert(list, rec({{"x", 4}, {"T", "Ann B."}, {"t", "details"}}));
    RecentItems::insert(list, rec({{"x", 8}, {"T", "Call"}}));
    // Bookmarks by address only; a path of another kind is another item.
    RecentItems::insert(list, rec({{"x", 3}, {"U", "http://a"}, {"T", "renamed"}}));
    RecentItems::insert(list, rec({{"x", 1}, {"P", "/a"}}));
    // Without the keys on both sides nothing matches.
    RecentItems::insert(list, rec({{"x", 2}}));

    QStringList order;
    for (const QVariant &entry : list)
        order << entry.toMap().value("x").toString() + entry.toMap().value("T").toString();
    EXPECT_EQ(order, (QStringList{"2", "1", "3renamed", "8Call", "4Ann B.", "2", "8Call"}));
}

TEST(RecentItemsTest, TrimKeepsTheNewest)
{
    QVariantList list;
    for (int i = 0; i < 150; ++i)
        RecentItems::insert(list, rec({{"x", 2}, {"P", QString::number(i)}}));
    RecentItems::trim(list);
    ASSERT_EQ(list.size(), 100);
    EXPECT_EQ(list.first().toMap().value("P"), "149");
    EXPECT_EQ(list.last().toMap().value("P"), "50");
}

TEST(RecentItemsTest, MenuOpenedRecordsByWhatIsOnDisk)
{
    QTemporaryDir dir;
    for (const char *name : {"Tool.app", "Pane.PREFPANE", "Filter.plugin", "Folder"})
        QDir(dir.path()).mkdir(QLatin1String(name));
    QFile file(dir.filePath("Fake.app"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    const auto kindOf = [&](const char *name) {
        const QVariantMap record = RecentItems::menuOpenedRecord(dir.filePath(name));
        EXPECT_EQ(record.value("P"), dir.filePath(name));
        EXPECT_EQ(record.value("-"), 1);
        EXPECT_FALSE(record.contains("T"));
        return record.value("x").toInt();
    };
    EXPECT_EQ(kindOf("Tool.app"), 1);
    EXPECT_EQ(kindOf("Pane.PREFPANE"), 1);
    EXPECT_EQ(kindOf("Filter.plugin"), 1);
    EXPECT_EQ(kindOf("Folder"), 2);
    EXPECT_EQ(kindOf("Fake.app"), 2) << "a file named like a bundle is no bundle";

    QVariantList list;
    RecentItems::insert(list, RecentItems::menuOpenedRecord(dir.filePath("Folder")));
    RecentItems::insert(list, rec({{"x", 5}, {"T", "n"}}));
    EXPECT_EQ(RecentItems::menuOpenedSubset(list), QVariantList{list.last()});
}

TEST(OpeningAddressesTest, WhatCountsAsAValidAddress)
{
    EXPECT_TRUE(OpeningAddresses::isValidAddress("https://example.org/a%20b?q=1#top"));
    EXPECT_TRUE(OpeningAddresses::isValidAddress("mailto:ann@example.org"));
    EXPECT_TRUE(OpeningAddresses::isValidAddress("file:///tmp/x"));
    EXPECT_FALSE(OpeningAddresses::isValidAddress("www.example.org")) << "no scheme";
    EXPECT_FALSE(OpeningAddresses::isValidAddress("http:www.example.org")) << "web without host";
    EXPECT_FALSE(OpeningAddresses::isValidAddress("http://exa mple.org"));
    EXPECT_FALSE(OpeningAddresses::isValidAddress("https://example.org/%zz"));
    EXPECT_FALSE(OpeningAddresses::isValidAddress(""));

    using U = std::optional<QUrl>;
    EXPECT_EQ(OpeningAddresses::urlForBookmarkAddress("example.org/x"),
              U(QUrl("http://example.org/x")));
    EXPECT_EQ(OpeningAddresses::urlForBookmarkAddress("ftp://files.example.org"),
              U(QUrl("ftp://files.example.org")));
    EXPECT_EQ(OpeningAddresses::urlForBookmarkAddress("a b"), std::nullopt);
    EXPECT_EQ(OpeningAddresses::urlForBookmarkAddress(" example.org"), std::nullopt);
}

TEST(OpeningAddressesTest, TheAddressIsTheFirstLineThatHoldsOne)
{
    const auto address = [](const QString &emails) {
        return OpeningAddresses::emailAddressOf({{"Email", emails}});
    };
    EXPECT_EQ(address("a@x.org\nb@x.org"), "a@x.org");
    EXPECT_EQ(address("\nb@x.org"), "b@x.org");
    EXPECT_EQ(address("home\t\n  \nwork\tc@x.org"), "c@x.org");
    EXPECT_EQ(address(""), "");
    EXPECT_EQ(OpeningAddresses::mailtoUrl("c@x.org"), std::optional<QUrl>(QUrl("mailto:c@x.org")));
    EXPECT_EQ(OpeningAddresses::mailtoUrl("C Lee <c@x.org>"), std::nullopt);
    EXPECT_EQ(OpeningAddresses::mailtoUrl(""), std::nullopt);
}
