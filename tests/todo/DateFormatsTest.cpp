#include "ToDoTestSupport.h"

#include "ActivityReportWindow.h"
#include "DateFields.h"
#include "QOR_StringUtils.h"
#include "ReminderListView.h"
#include "ToDoItems.h"
#include "ToDoRowDelegate.h"

#include <QDateEdit>
#include <QDateTimeEdit>

#include <gtest/gtest.h>

// One date reads the same in every window, in the order of the session's language: a list
// showing day/month beside another showing month/day is read wrong in one of them.
TEST(DateFormats, EveryWindowWritesADateInTheLanguagesOrder)
{
    const QDateTime due = localTime(2027, 5, 6, 22, 30);
    const QVariantMap task = ToDoItems::newRecord("renew the passport", due, false);
    const QDate today(2027, 5, 3);
    const QVariantMap event{{"x", 12}, {"T", "concert"}, {"Date", due}};
    for (const auto &[language, day] : {std::pair{"en", QStringLiteral("5/6/27")},
                                        std::pair{"fr", QStringLiteral("06/05/2027")}}) {
        QOR_StringUtils::installTranslations(QLocale(language));
        const QString reminder = ReminderListView::rowDate(task, today);
        EXPECT_TRUE(reminder.startsWith(day)) << language << ": " << reminder.toStdString();
        EXPECT_EQ(ReminderListView::rowDate(event, today), reminder) << language;
        EXPECT_EQ(ToDoRowDelegate::dueText(task, true, today.startOfDay()), reminder) << language;
        EXPECT_EQ(ReminderListView::detailText(task),
                  QStringLiteral("%1 - renew the passport").arg(reminder));
        // Today's task shows its time alone, as the to-do window does.
        EXPECT_EQ(ReminderListView::rowDate(task, due.date()), QOR_StringUtils::getShortTime(due));

        // The fields where a date is typed read it the same way.
        ActivityReportWindow report;
        report.fromPicker()->setDate(due.date());
        EXPECT_EQ(report.fromPicker()->text(), day) << language;
        QDateTimeEdit field;
        DateFields::useFormatter(&field, QOR_StringUtils::getShortTimeDateFormatter());
        field.setDateTime(due);
        EXPECT_EQ(field.text(), reminder) << language;
    }
    QOR_StringUtils::installTranslations(QLocale("en"));
}
