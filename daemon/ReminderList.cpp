#include "ReminderList.h"

#include "DaemonClock.h"
#include "ItemRecord.h"

QVariantList ReminderList::build(const QVariantList &toDo, const QVariantList &calendarEvents,
                                 const QVariantList &reminders, bool addToDoItems,
                                 bool addCalendarEntries, const QDate &today)
{
    const qint64 todayNumber = DaemonClock::dayNumber(today);
    QVariantList list;
    if (addToDoItems) {
        for (const QVariant &item : toDo) {
            const QVariantMap record = item.toMap();
            if (record.value(ItemRecord::KeyDone).toInt() != 0)
                continue;
            const std::optional<QDate> due =
                DaemonClock::localDay(record.value(ItemRecord::KeyDate));
            if (due && DaemonClock::dayNumber(*due) <= todayNumber + 5)
                list.append(item);
        }
    }
    if (addCalendarEntries) {
        for (const QVariant &event : calendarEvents) {
            const std::optional<QDate> day =
                DaemonClock::localDay(event.toMap().value(ItemRecord::KeyDate));
            if (!day)
                continue;
            const qint64 number = DaemonClock::dayNumber(*day);
            if (number == todayNumber || number == todayNumber + 1)
                list.append(event);
        }
    }
    list.append(reminders);
    return list;
}
