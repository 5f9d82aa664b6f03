#include "AgentCalendar.h"

#include "CalendarWindow.h"
#include "DaemonClock.h"
#include "DaemonController.h"
#include "ToDoItems.h"
#include "WindowFocus.h"

#include <QPointer>

#include <algorithm>

AgentCalendar::AgentCalendar(DaemonController &daemon, ReadEvents readEvents,
                             std::function<void()> toggleReminderList, QObject *parent)
    : QObject(parent)
    , mDaemon(daemon)
    , mReadEvents(std::move(readEvents))
    , mToggleReminderList(std::move(toggleReminderList))
{
}

CalendarWindow &AgentCalendar::window()
{
    if (!mWindow) {
        mWindow = std::make_unique<CalendarWindow>();
        mWindow->setCalendarEvents(mDaemon.lists().mListOfCalendarEvents);
    }
    return *mWindow;
}

AgentCalendar::~AgentCalendar() = default;

void AgentCalendar::readCalendarEvents(bool dailyCheck)
{
    const QVariantList before = mDaemon.lists().mListOfCalendarEvents;
    if (!mReadEvents) {
        eventsRead(before, dailyCheck);
        return;
    }
    QPointer<AgentCalendar> self(this);
    mReadEvents([self, before, dailyCheck] {
        if (self)
            self->eventsRead(before, dailyCheck);
    });
}

void AgentCalendar::eventsRead(const QVariantList &before, bool dailyCheck)
{
    const QVariantList &events = mDaemon.lists().mListOfCalendarEvents;
    const bool changed = events != before;
    const QDate today = mDaemon.clock().today();
    const bool eventToday =
        std::any_of(events.cbegin(), events.cend(), [&today](const QVariant &e) {
            const std::optional<QDateTime> start = ToDoItems::dueDate(e.toMap());
            return start && start->toLocalTime().date() == today;
        });
    if (mWindow)
        mWindow->setCalendarEvents(events);
    if (dailyCheck && !eventToday) {
        if (changed)
            mDaemon.readData();
        return;
    }
    CalendarWindow &shown = window();
    shown.show();
    WindowFocus::bringToFront(&shown);
    emit calendarWindowShown();
    mDaemon.readData();
    if (mToggleReminderList)
        mToggleReminderList();
}
