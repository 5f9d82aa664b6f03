#include "DaemonTestSupport.h"

#include "ArchiveFile.h"
#include "CommonKorvaleClass.h"
#include "ReminderList.h"
#include "StocksSurveyImport.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

QVariantMap note(const QString &title)
{
    return {{"x", 5}, {"T", title}};
}

QStringList titles(const QVariantList &list)
{
    QStringList out;
    for (const QVariant &v : list)
        out << v.toMap().value("T").toString();
    return out;
}

QDateTime localNoon(const QDate &day)
{
    return QDateTime(day, QTime(12, 0));
}

} // namespace

TEST(DataReload, FirstReloadReadsEveryFileThenOnlyChangedOnes)
{
    DaemonFixture f;
    CommonKorvaleClass::saveListInFile({note("old")}, DataFileName::Notes);
    setModified(f.dataPath(DataFileName::Notes), QDateTime::currentDateTime().addYears(-3));
    CommonKorvaleClass::saveListInFile({note("clip")}, DataFileName::Clipboard);
    CommonKorvaleClass::saveListInFile({}, DataFileName::ToDo);
    f.clock.set(DaemonClock().now() + 1);

    f.controller->awakeFromNib();
    f.controller->readData();
    EXPECT_EQ(titles(f.controller->lists().mListOfNotes), QStringList{"old"});
    EXPECT_EQ(titles(f.controller->lists().mListOfClipboard), QStringList{"clip"});
    EXPECT_EQ(f.hooks->count("refreshToDoDisplay"), 1);

    // Rewritten, but dated before the last reload: kept as it is in memory.
    f.clock.advance(60);
    CommonKorvaleClass::saveListInFile({note("unseen")}, DataFileName::Notes);
    setModified(f.dataPath(DataFileName::Notes), QDateTime::currentDateTime().addSecs(-3600));
    f.controller->readData();
    EXPECT_EQ(titles(f.controller->lists().mListOfNotes), QStringList{"old"});
    EXPECT_EQ(f.hooks->count("refreshToDoDisplay"), 1);

    // Dated a few milliseconds before it, as the kernel's coarse file clock dates a save that
    // landed just after the reload began: reread.
    setModified(f.dataPath(DataFileName::Notes),
                DaemonClock::dateTime(f.controller->schedule().mLastReadData - 0.004));
    f.controller->readData();
    EXPECT_EQ(titles(f.controller->lists().mListOfNotes), QStringList{"unseen"});

    // Dated after it: reread.
    CommonKorvaleClass::saveListInFile({note("newer")}, DataFileName::Notes);
    setModified(f.dataPath(DataFileName::Notes), DaemonClock::dateTime(f.clock.now() + 1));
    f.clock.advance(60);
    f.controller->readData();
    EXPECT_EQ(titles(f.controller->lists().mListOfNotes), QStringList{"newer"});

    // Deleted: the list empties at the next reload.
    QFile::remove(f.dataPath(DataFileName::Clipboard));
    f.controller->readData();
    EXPECT_TRUE(f.controller->lists().mListOfClipboard.isEmpty());
}

TEST(DataReload, SkippedWhileASearchRunsAndDoneByTheNextTrigger)
{
    DaemonFixture f;
    f.controller->awakeFromNib();
    CommonKorvaleClass::saveListInFile({note("n")}, DataFileName::Notes);
    f.controller->flags().mSearchThreadIsRunning = true;
    f.controller->readData();
    EXPECT_TRUE(f.controller->lists().mListOfNotes.isEmpty());
    EXPECT_EQ(f.controller->dataReadCount(), 0);
    EXPECT_EQ(f.controller->schedule().mLastReadData, 0);

    f.controller->flags().mSearchThreadIsRunning = false;
    f.controller->readData();
    EXPECT_EQ(titles(f.controller->lists().mListOfNotes), QStringList{"n"});
}

TEST(DataReload, ApplicationsRebuildShortcutsOnlyWhenNonEmpty)
{
    DaemonFixture f;
    f.controller->awakeFromNib();
    f.controller->readData();
    EXPECT_EQ(f.hooks->count("rebuildItemsWithShortcuts"), 0);
    CommonKorvaleClass::saveListInFile({QVariantMap{{"x", 1}, {"T", "Editor"}}},
                                       DataFileName::Applications);
    setModified(f.dataPath(DataFileName::Applications), DaemonClock::dateTime(f.clock.now() + 1));
    f.clock.advance(2);
    f.controller->readData();
    EXPECT_EQ(f.controller->lists().mListOfApplications.size(), 1);
    EXPECT_EQ(f.hooks->count("rebuildItemsWithShortcuts"), 1);
}

// The reload only asks for the contacts and bookmarks (read on the reader thread); a source
// switched off empties its list at once.
TEST(DataReload, OptionalReadersFollowTheirSettings)
{
    DaemonFixture f;
    CommonKorvaleClass::saveListInFile({QVariantMap{{"x", 4}, {"T", "cached"}}},
                                       DataFileName::AddressBookItems);
    f.controller->awakeFromNib();
    ASSERT_EQ(titles(f.controller->lists().mListOfAddressBook), QStringList{"cached"});
    f.controller->lists().mListOfBookMarks = {QVariantMap{{"x", 3}, {"T", "Site"}}};
    f.controller->readData();
    EXPECT_TRUE(f.controller->lists().mListOfAddressBook.isEmpty());
    EXPECT_TRUE(f.controller->lists().mListOfBookMarks.isEmpty());
    EXPECT_EQ(f.hooks->count("readOtherData"), 0);

    managerWrites({{"OtherDataAddressBook", 1}, {"OtherDataBookmarks", 1}});
    f.controller->readMainSettings();
    f.controller->lists().mListOfBookMarks = {QVariantMap{{"x", 3}, {"T", "Site"}}};
    f.controller->readData();
    EXPECT_EQ(titles(f.controller->lists().mListOfBookMarks), QStringList{"Site"})
        << "searchable until the new bookmarks are in";
    ASSERT_EQ(f.hooks->otherDataReadings.size(), 1);
    EXPECT_EQ(f.hooks->otherDataReadings.first(), std::make_pair(true, true));

    managerWrites({{"OtherDataAddressBook", 0}});
    f.controller->readMainSettings();
    f.controller->readData();
    ASSERT_EQ(f.hooks->otherDataReadings.size(), 2);
    EXPECT_EQ(f.hooks->otherDataReadings.last(), std::make_pair(false, true));
}

TEST(ReminderList, DueWindowsOfToDoItemsAndCalendarEvents)
{
    const QDate today(2026, 3, 10);
    const QVariantList toDo{
        QVariantMap{{"T", "in five"}, {"Date", localNoon(today.addDays(5))}},
        QVariantMap{{"T", "in six"}, {"Date", localNoon(today.addDays(6))}},
        QVariantMap{{"T", "overdue"}, {"Date", localNoon(today.addDays(-20))}},
        QVariantMap{{"T", "done"}, {"Date", localNoon(today)}, {"Done", 1}},
        QVariantMap{{"T", "late evening"}, {"Date", QDateTime(today.addDays(5), QTime(23, 59))}},
        QVariantMap{{"T", "no date"}},
    };
    const QVariantList events{
        QVariantMap{{"T", "yesterday"}, {"Date", QDateTime(today.addDays(-1), QTime(23, 30))}},
        QVariantMap{{"T", "today"}, {"Date", QDateTime(today, QTime(0, 0))}},
        QVariantMap{{"T", "tomorrow"}, {"Date", localNoon(today.addDays(1))}},
        QVariantMap{{"T", "after"}, {"Date", QDateTime(today.addDays(2), QTime(0, 1))}},
    };
    const QVariantList reminders{QVariantMap{{"T", "stored"}}};

    EXPECT_EQ(titles(ReminderList::build(toDo, events, reminders, true, true, today)),
              (QStringList{"in five", "overdue", "late evening", "today", "tomorrow", "stored"}));
    EXPECT_EQ(titles(ReminderList::build(toDo, events, reminders, false, true, today)),
              (QStringList{"today", "tomorrow", "stored"}));
    EXPECT_EQ(titles(ReminderList::build(toDo, events, reminders, true, false, today)),
              (QStringList{"in five", "overdue", "late evening", "stored"}));
}

TEST(DataReload, ReminderListIsRebuiltAtEveryReload)
{
    DaemonFixture f;
    f.clock.set(DaemonClock::referenceSeconds(localNoon(QDate::currentDate())));
    f.controller->awakeFromNib();
    CommonKorvaleClass::saveListInFile(
        {QVariantMap{{"x", 8}, {"T", "soon"}, {"Date", QDateTime::currentDateTime()}}},
        DataFileName::ToDo);
    CommonKorvaleClass::saveListInFile({QVariantMap{{"x", 11}, {"T", "kept"}}},
                                       DataFileName::Reminder);
    f.controller->readData();
    EXPECT_EQ(titles(f.controller->lists().mListOfReminder), (QStringList{"soon", "kept"}));
    managerWrites({{"ReminderAddToDoItems", 0}});
    f.controller->readMainSettings();
    f.controller->readData();
    EXPECT_EQ(titles(f.controller->lists().mListOfReminder), QStringList{"kept"});
    EXPECT_EQ(f.hooks->count("refreshReminderDisplay"), 2);
}

TEST(StocksSurveyImport, MergeCases)
{
    QVariantList stocks{QVariantMap{{"x", 7},
                                    {"T", "ACME"},
                                    {"StockURL", "http://old"},
                                    {"ValLast", "12.5"},
                                    {"ValMin", "20"},
                                    {"ValMax", "5"}},
                        QVariantMap{{"x", 7}, {"T", "Same"}, {"StockURL", "http://same"}}};
    EXPECT_FALSE(StocksSurveyImport::merge(stocks,
                                           "Same\thttp://same\n\tno title\nEmpty\t\n"
                                           "lonely\n\n"));
    EXPECT_EQ(stocks.size(), 2);

    EXPECT_TRUE(StocksSurveyImport::merge(stocks, "ACME\thttp://new\textra\rNew One\thttp://n1"));
    ASSERT_EQ(stocks.size(), 3);
    const QVariantMap acme = stocks.at(0).toMap();
    EXPECT_EQ(acme.value("StockURL"), "http://new");
    EXPECT_EQ(acme.value("ValLast"), "12.5");
    EXPECT_EQ(acme.value("ValMin"), "20") << "the limits stay with the title";
    EXPECT_EQ(acme.value("ValMax"), "5");
    const QVariantMap added = stocks.at(2).toMap();
    EXPECT_EQ(added,
              (QVariantMap{{"T", "New One"},
                           {"StockURL", "http://n1"},
                           {"x", 7},
                           {"ValMin", "0.000"},
                           {"ValMax", "0.000"},
                           {"ValLast", "???"},
                           {"ValLastShown", "0"}}));

    // A title on two lines: the last address, and nothing to save at the next reload.
    const QByteArray twice = "Twice\thttp://first\nTwice\thttp://second\n";
    EXPECT_TRUE(StocksSurveyImport::merge(stocks, twice));
    ASSERT_EQ(stocks.size(), 4);
    EXPECT_EQ(stocks.at(3).toMap().value("StockURL"), "http://second");
    EXPECT_FALSE(StocksSurveyImport::merge(stocks, twice));

    QVariantList untouched = stocks;
    EXPECT_FALSE(StocksSurveyImport::merge(untouched, QByteArray("Bad\xff\xfe\thttp://x")));
    EXPECT_EQ(untouched, stocks);
}

TEST(DataReload, StockImportFileIsMergedAndSavedOnlyWhenSomethingChanged)
{
    DaemonFixture f;
    f.controller->awakeFromNib();
    QFile import(CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
        DataFileName::StocksSurveyImport));
    ASSERT_TRUE(import.open(QIODevice::WriteOnly));
    import.write("ACME\thttp://quotes/acme\n");
    import.close();

    f.controller->readData();
    ASSERT_EQ(f.controller->lists().mListOfStocksSurvey.size(), 1);
    EXPECT_EQ(ArchiveFile::readList(f.dataPath(DataFileName::StocksSurvey)).size(), 1);
    EXPECT_TRUE(QFile::exists(f.dataPath(DataFileName::StocksSurveyImport)));

    const QDateTime old = QDateTime::currentDateTime().addDays(-1);
    setModified(f.dataPath(DataFileName::StocksSurvey), old);
    f.controller->readData();
    EXPECT_EQ(QFileInfo(f.dataPath(DataFileName::StocksSurvey)).lastModified(), old);
}
