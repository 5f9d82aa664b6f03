#include "ToDoTestSupport.h"

#include "ItemRecord.h"
#include "PersonalDataIcons.h"
#include "QOR_StringUtils.h"
#include "ToDoItems.h"
#include "ToDoRowDelegate.h"

#include <gtest/gtest.h>

namespace {

QDateTime postponedDate(const QDateTime &from, ToDoItems::Step step)
{
    const QVariantMap moved = ToDoItems::postponed(ToDoItems::newRecord("pay", from, false), step);
    return ToDoItems::dueDate(moved).value_or(QDateTime()).toLocalTime();
}

} // namespace

TEST(ToDoItems, AMonthLaterKeepsTheMinuteDropsTheSecondsAndCarriesPastTheMonthsEnd)
{
    ScopedTimeZone zone("Europe/Paris");
    using S = ToDoItems::Step;
    EXPECT_EQ(postponedDate(localTime(2026, 12, 15, 10, 30, 45), S::Month),
              localTime(2027, 1, 15, 10, 30, 0));
    EXPECT_EQ(postponedDate(localTime(2027, 1, 31, 9, 0, 12), S::Month),
              localTime(2027, 3, 3, 9, 0, 0));
    EXPECT_EQ(postponedDate(localTime(2028, 1, 31, 9, 0), S::Month), localTime(2028, 3, 2, 9, 0));
    // Across the spring change the wall-clock time stays: 26 March 2027 to 26 April.
    EXPECT_EQ(postponedDate(localTime(2027, 3, 26, 8, 15), S::Month),
              localTime(2027, 4, 26, 8, 15));
}

TEST(ToDoItems, ADayOrAWeekIsAFixedLengthSoTheClockTimeMovesAcrossADaylightSavingChange)
{
    ScopedTimeZone zone("Europe/Paris");
    using S = ToDoItems::Step;
    // Summer time starts on 28 March 2027 at 2:00.
    EXPECT_EQ(postponedDate(localTime(2027, 3, 27, 10, 0, 30), S::Day),
              localTime(2027, 3, 28, 11, 0, 30));
    EXPECT_EQ(postponedDate(localTime(2027, 3, 24, 10, 0), S::Week), localTime(2027, 3, 31, 11, 0));
    // And ends on 31 October 2027 at 3:00.
    EXPECT_EQ(postponedDate(localTime(2027, 10, 30, 10, 0), S::Day), localTime(2027, 10, 31, 9, 0));
    EXPECT_EQ(postponedDate(localTime(2026, 12, 31, 23, 59, 59), S::Day),
              localTime(2027, 1, 1, 23, 59, 59));
}

TEST(ToDoItems, SortedByDateThenTitleCaseInsensitivelyWithMissingOnesFirst)
{
    const QDateTime nine = localTime(2027, 5, 3, 9, 0);
    QVariantList list{ToDoItems::newRecord("zebra", nine, false),
                      ToDoItems::newRecord("later", nine.addSecs(60), false),
                      ToDoItems::newRecord("Apple", nine, true),
                      QVariantMap{{"x", 8}, {"T", "undated"}},
                      QVariantMap{{"x", 8}, {"Date", nine}},
                      ToDoItems::newRecord("banana", nine, false)};
    ToDoItems::sort(list);
    QStringList titles;
    for (const QVariant &item : list)
        titles << item.toMap().value("T", "-").toString();
    EXPECT_EQ(titles, QStringList({"undated", "-", "Apple", "banana", "zebra", "later"}));
}

TEST(ToDoItems, TickingOffTwiceGivesTheTaskBackAndOnlyTasksNotDoneFallOverdue)
{
    const QDateTime now = localTime(2027, 5, 3, 12, 0);
    const QVariantMap task = ToDoItems::newRecord("call", now.addSecs(-60), false);
    EXPECT_TRUE(ToDoItems::isOverdue(task, now));
    const QVariantMap done = ToDoItems::toggledDone(task);
    EXPECT_FALSE(ToDoItems::isOverdue(done, now));
    EXPECT_FALSE(ToDoItems::isDone(ToDoItems::toggledDone(done)));
    // A date stored as reference seconds counts as well.
    EXPECT_TRUE(ToDoItems::isOverdue({{"x", 8}, {"Date", referenceOf(now) - 1}}, now));
    EXPECT_FALSE(ToDoItems::isOverdue({{"x", 8}, {"Date", referenceOf(now)}}, now));
}

TEST(ToDoItems, ATaskDueTodayShowsItsTimeAloneInTheAgentAndYesterdaysIsLate)
{
    const QDateTime now = localTime(2027, 5, 3, 12, 0);
    const QVariantMap today = ToDoItems::newRecord("lunch", localTime(2027, 5, 3, 13, 30), false);
    const QVariantMap yesterday = ToDoItems::newRecord("gym", localTime(2027, 5, 2, 18, 0), false);
    EXPECT_EQ(ToDoRowDelegate::dueText(today, true, now),
              QOR_StringUtils::getShortTime(localTime(2027, 5, 3, 13, 30)));
    // The manager always shows the date.
    EXPECT_EQ(ToDoRowDelegate::dueText(today, false, now),
              QOR_StringUtils::getShortTimeDate(localTime(2027, 5, 3, 13, 30)));
    EXPECT_EQ(ToDoRowDelegate::dueText(yesterday, true, now),
              QOR_StringUtils::getShortTimeDate(localTime(2027, 5, 2, 18, 0)));
    EXPECT_EQ(PersonalDataIcons::toDoIconName(false, ToDoItems::isOverdue(yesterday, now)),
              "icon_ToDoNotDoneLate");
    EXPECT_EQ(PersonalDataIcons::toDoIconName(false, ToDoItems::isOverdue(today, now)),
              "icon_ToDoNotDone");
}
