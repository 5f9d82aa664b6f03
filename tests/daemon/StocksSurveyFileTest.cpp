#include "DaemonTestSupport.h"

#include "CommonKorvaleClass.h"
#include "FifoSupport.h"
#include "StocksSurveyImport.h"

#include <gtest/gtest.h>

// "StocksSurvey.txt" is the user's file: the reload reads it only as a regular file, so a FIFO
// or a device put in its place neither holds the agent nor fills its memory.
TEST(DataReload, AStockImportThatIsNoFileIsSkippedAtOnce)
{
    DaemonFixture f;
    f.controller->awakeFromNib();
    const QString path = CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
        DataFileName::StocksSurveyImport);
    ASSERT_TRUE(makeFifo(path));
    {
        const FifoWatchdog watchdog({path});
        f.controller->readData();
        EXPECT_FALSE(watchdog.released()) << "the reload waited for a writer on the FIFO";
    }
    EXPECT_TRUE(f.controller->lists().mListOfStocksSurvey.isEmpty());

    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(linkToDevZero(path));
    QVariantList stocks;
    EXPECT_FALSE(StocksSurveyImport::mergeFile(stocks, path));
    EXPECT_TRUE(stocks.isEmpty());
}
