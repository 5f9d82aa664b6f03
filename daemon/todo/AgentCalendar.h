#pragma once

#include <QObject>

#include <functional>
#include <memory>

class CalendarWindow;
class DaemonController;

// readCalendarEvents: the month's events read again, given to the calendar window, and the
// window brought up when the user asks, or by the daily check when an event falls today.
class AgentCalendar : public QObject
{
    Q_OBJECT
public:
    // `readEvents` replaces the controller's event list (kept when nothing was found);
    // `toggleReminderList` is showReminderList.
    AgentCalendar(DaemonController &daemon, std::function<void()> readEvents,
                  std::function<void()> toggleReminderList, QObject *parent = nullptr);
    ~AgentCalendar() override;

    CalendarWindow &window() { return *mWindow; }

    void readCalendarEvents(bool dailyCheck);
    void showCalendarWindow() { readCalendarEvents(false); }

signals:
    void calendarWindowShown();

private:
    DaemonController &mDaemon;
    std::function<void()> mReadEvents;
    std::function<void()> mToggleReminderList;
    std::unique_ptr<CalendarWindow> mWindow;
};
