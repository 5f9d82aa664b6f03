#pragma once

#include <QDateTime>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

// The rules of to-do records (kind 8) that the agent and the manager share: their order, when
// one is overdue, and the changes the agent's menu makes.
namespace ToDoItems {

enum class Step { Day, Week, Month };

// "Date" as a moment: a date value or a number of reference seconds; nothing otherwise.
std::optional<QDateTime> dueDate(const QVariantMap &record);
bool isDone(const QVariantMap &record);
// Not done and due before now.
bool isOverdue(const QVariantMap &record, const QDateTime &now);
bool anyOverdue(const QVariantList &list, const QDateTime &now);
// The earliest due date after now of a task not done: when the next one falls overdue.
std::optional<QDateTime> nextDueAfter(const QVariantList &list, const QDateTime &now);

// By "Date", then "T" case-insensitively; a missing date or title first. Stable.
void sort(QVariantList &list);

QVariantMap newRecord(const QString &title, const QDateTime &date, bool done);
QVariantMap toggledDone(const QVariantMap &record);
// A day and a week are fixed lengths of time, seconds kept; a month is the same day and minute
// of the next month, seconds 0, a day past the month's end carried into the month after.
QVariantMap postponed(const QVariantMap &record, Step step);
QDateTime sameTimeNextMonth(const QDateTime &date);

} // namespace ToDoItems
