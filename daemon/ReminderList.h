#pragma once

#include <QDate>
#include <QVariantList>

// The reminder list shown when items fall due: to-do items not done that are due within five
// days (overdue ones included), today's and tomorrow's calendar events, then the reminders.
namespace ReminderList {

QVariantList build(const QVariantList &toDo, const QVariantList &calendarEvents,
                   const QVariantList &reminders, bool addToDoItems, bool addCalendarEntries,
                   const QDate &today);

} // namespace ReminderList
