#include "AccessWindowTestFixture.h"

// Bookmarks and stocks are made elsewhere: with their filter and nothing to show, the list says
// where they come from; every other filter keeps its plain "No results".
TEST_F(AccessWindowTest, AnEmptyBookmarksAndStocksFilterSaysWhereTheyComeFrom)
{
    mDaemon->lists().mListOfBookMarks.clear();
    mDaemon->lists().mListOfStocksSurvey.clear();
    openWindow();
    EXPECT_TRUE(table()->emptyHint().isEmpty());
    mSearch->groupChanged(3);
    searchFor(QString());
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(table()->emptyHint(), QOR_StringUtils::getLocalizedStringForKey("EmptyStocksHint"));
    EXPECT_NE(table()->emptyHint(), "EmptyStocksHint");
    mSearch->groupChanged(5);
    EXPECT_TRUE(table()->emptyHint().isEmpty());
}
