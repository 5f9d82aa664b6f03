#include "OtherDataRecords.h"

#include <gtest/gtest.h>

// Titles are unique across every source, the first one read winning; the lists keep the suite's
// title order, and events their dates, then titles.
TEST(OtherDataRecords, BookmarksKeepTheFirstOfATitleAndEventsSortByDateThenTitle)
{
    OtherDataRecords::BookmarkList list;
    EXPECT_TRUE(list.add("Zeta", "https://z.example/"));
    EXPECT_TRUE(list.add("alpha", "https://a.example/"));
    EXPECT_FALSE(list.add("Zeta", "https://other.example/"));
    EXPECT_FALSE(list.add("", "https://n.example/"));
    EXPECT_FALSE(list.add("No address", ""));
    QVariantList bookmarks = list.take();
    OtherDataRecords::sortByTitle(bookmarks);
    ASSERT_EQ(bookmarks.size(), 2);
    EXPECT_EQ(bookmarks.at(0).toMap().value("T"), "alpha");
    EXPECT_EQ(bookmarks.at(1).toMap().value("U"), "https://z.example/");
    EXPECT_EQ(bookmarks.at(1).toMap().value("x"), 3);

    const QDateTime morning(QDate(2026, 12, 9), QTime(9, 0));
    QVariantList events{OtherDataRecords::eventRecord("later", morning.addSecs(3600)),
                        OtherDataRecords::eventRecord("beta", morning),
                        OtherDataRecords::eventRecord("Alpha", morning)};
    OtherDataRecords::sortByDate(events);
    EXPECT_EQ(events.at(0).toMap().value("T"), "Alpha");
    EXPECT_EQ(events.at(1).toMap().value("T"), "beta");
    EXPECT_EQ(events.at(2).toMap().value("T"), "later");
}
