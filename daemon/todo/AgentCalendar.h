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
    // `readEvents` replaces the controller's event list (kept when nothing was found), on the
    // reader thread, and then calls the function it is given on the main thread;
    // `toggleReminderList` is showReminderList.
    using ReadEvents = std::function<void(std::function<void()> adopted)>;
    AgentCalendar(DaemonController &daemon, ReadEvents readEvents,
                  std::function<void()> toggleReminderList, QObject *parent = nullptr);
    ~AgentCalendar() override;

    // Built when first shown or asked for.
    CalendarWindow &window();

    // The window and the reload follow once the events are in.
    void readCalendarEvents(bool dailyCheck);
    void showCalendarWindow() { readCalendarEvents(false); }

signals:
    void calendarWindowShown();

private:
    DaemonController &mDaemon;
    void eventsRead(const QVariantList &before, bool dailyCheck);

    ReadEvents mReadEvents;
    std::function<void()> mToggleReminderList;
    std::unique_ptr<CalendarWindow> mWindow;
};
