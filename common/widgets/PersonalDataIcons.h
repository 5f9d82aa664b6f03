#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

#include <optional>

// The to-do and reminder icons, drawn rather than shipped: both the agent and the manager show
// them, and they are only a mark and a colour.
namespace PersonalDataIcons {

// "icon_ToDo", "icon_ToDoNotDone", "icon_ToDoNotDoneLate", "icon_ReminderYellow",
// "icon_ReminderRed", "icon_ReminderGreen", "icon_ReminderBlue"; an empty icon otherwise.
QIcon icon(const QString &name);

QString toDoIconName(bool done, bool overdue);
// The reminder colours by "Color" index; nothing outside 0 to 3.
std::optional<QColor> reminderColor(int index);
QString reminderIconName(int index);

} // namespace PersonalDataIcons
