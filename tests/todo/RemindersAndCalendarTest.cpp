#include "ToDoTestSupport.h"

#include "AgentCalendar.h"
#include "AgentReminders.h"
#include "CalendarWindow.h"
#include "CommonKorvaleClass.h"
#include "FadeSteps.h"
#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"
#include "ReminderListView.h"
#include "ReminderWindow.h"
#include "ToDoItems.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Hooks wired as the program wires them, with a calendar whose events the test sets.
class CalendarHooks : public RecordingHooks
{
public:
    AgentReminders *reminders = nullptr;
    AgentCalendar *calendar = nullptr;
    int dailyChecks = 0;
    void refreshReminderDisplay() override
    {
        if (reminders)
            reminders->refreshReminderDisplay();
    }
    void dailyCalendarCheck() override
    {
        ++dailyChecks;
        if (calendar)
            calendar->readCalendarEvents(true);
    }
};

struct CalendarFixture {
    TemporaryHome home;
    FakeDaemonClock clock;
    SharedPreferences preferences{SharedPreferences::defaultPath()};
    std::shared_ptr<CalendarHooks> hooks = std::make_shared<CalendarHooks>();
    std::unique_ptr<DaemonController> controller;
    std::unique_ptr<AgentReminders> reminders;
    std::unique_ptr<AgentCalendar> calendar;
    // What the event store holds; an empty read keeps the previous list, as the reader does.
    QVariantList store;

    explicit CalendarFixture(const QDateTime &start)
        : clock(referenceOf(start))
    {
        DaemonController::Environment environment;
        environment.preferences = &preferences;
        environment.clock = &clock;
        environment.hooks = hooks;
        environment.notifications = NotificationCenter::createLocalCenter();
        environment.quitApplication = [] {};
        controller = std::make_unique<DaemonController>(std::move(environment));
        reminders = std::make_unique<AgentReminders>(*controller);
        calendar = std::make_unique<AgentCalendar>(
            *controller,
            [this](std::function<void()> adopted) {
                if (!store.isEmpty())
                    controller->lists().mListOfCalendarEvents = store;
                adopted();
            },
            [this] { reminders->showReminderList(); });
        hooks->reminders = reminders.get();
        hooks->calendar = calendar.get();
    }

    QDateTime now() const { return QOR_DateUtils::fromReferenceSeconds(clock.now()); }
    void tickFor(double seconds)
    {
        // 35 ticks make one look at the day; a look every five minutes of the fake clock.
        for (double spent = 0; spent < seconds; spent += 300) {
            for (int i = 0; i < 35; ++i)
                controller->timerMethod();
            clock.advance(std::min(300.0, seconds - spent));
            QCoreApplication::processEvents();
        }
    }
    static QVariantMap event(const QString &title, const QDateTime &start)
    {
        return {{"x", 12}, {"T", title}, {"Date", start}};
    }
};

} // namespace

TEST(Reminders, TheListHoldsTasksDueWithinFiveDaysTodaysAndTomorrowsEventsAndTheStoredReminders)
{
    CalendarFixture f(localTime(2027, 5, 3, 9, 0));
    const QDateTime now = f.now();
    CommonKorvaleClass::saveListInFile(
        {ToDoItems::newRecord("overdue", now.addDays(-3), false),
         ToDoItems::newRecord("in five days", now.addDays(5).addSecs(3600 * 12), false),
         ToDoItems::newRecord("in six days", now.addDays(6).addSecs(-3600 * 8), false),
         ToDoItems::newRecord("done", now, true)},
        DataFileName::ToDo);
    CommonKorvaleClass::saveListInFile({QVariantMap{{"x", 11}, {"T", "milk"}, {"Color", 1}}},
                                       DataFileName::Reminder);
    f.controller->lists().mListOfCalendarEvents = {
        CalendarFixture::event("dentist", now.addSecs(3600)),
        CalendarFixture::event("train", now.addDays(1)),
        CalendarFixture::event("concert", now.addDays(2))};
    f.controller->readData();
    QStringList titles;
    for (const QVariant &item : f.controller->lists().mListOfReminder)
        titles << item.toMap().value("T").toString();
    EXPECT_EQ(titles, QStringList({"overdue", "in five days", "dentist", "train", "milk"}));
    EXPECT_TRUE(f.reminders->reminderWindow().isVisible());

    // The list opens beside the reminder window and is redrawn when it changes.
    f.reminders->showReminderList();
    ASSERT_TRUE(f.reminders->listWindow().isVisible());
    EXPECT_EQ(f.reminders->listWindow().height(), ReminderListView::heightFor(5));
    CommonKorvaleClass::saveListInFile({}, DataFileName::Reminder);
    f.controller->readData();
    EXPECT_TRUE(f.reminders->listWindow().isVisible());
    EXPECT_EQ(f.reminders->listWindow().listView()->remindersList().size(), 4);
    const QVariantMap dentist = f.controller->lists().mListOfReminder.at(2).toMap();
    EXPECT_EQ(ReminderListView::rowText(dentist), "dentist");
    EXPECT_EQ(ReminderListView::rowDate(dentist, now.date()),
              QOR_StringUtils::getShortTime(now.addSecs(3600)))
        << "today's event shows its time alone";
}

TEST(Reminders, WithBothSettingsOffAndNoStoredRemindersTheWindowStaysAway)
{
    CalendarFixture f(localTime(2027, 5, 3, 9, 0));
    managerWrites({{"ReminderAddToDoItems", 0}, {"ReminderAddCalendarEntries", 0}});
    f.controller->readMainSettings();
    CommonKorvaleClass::saveListInFile(
        {ToDoItems::newRecord("overdue", f.now().addDays(-1), false)}, DataFileName::ToDo);
    f.controller->lists().mListOfCalendarEvents = {CalendarFixture::event("dentist", f.now())};
    f.controller->readData();
    EXPECT_TRUE(f.controller->lists().mListOfReminder.isEmpty());
    EXPECT_FALSE(f.reminders->reminderWindow().isVisible());
}

TEST(Reminders, AListTallerThanTheSpaceBelowIsLiftedAndOneWithoutRoomOnTheRightGoesLeft)
{
    const QRect screen(0, 0, 1000, 700);
    const QRect placed = AgentReminders::listFrameBeside(QRect(100, 600, 120, 26), 10, screen);
    EXPECT_EQ(placed.left(), 100 + 120 + AgentReminders::Gap);
    EXPECT_EQ(placed.bottom(), screen.bottom());
    EXPECT_EQ(placed.height(), ReminderListView::heightFor(10));
    const QRect left = AgentReminders::listFrameBeside(QRect(880, 50, 120, 26), 2, screen);
    EXPECT_EQ(left.right(), 880 - AgentReminders::Gap - 1);
    EXPECT_EQ(left.top(), 50);
}

TEST(Reminders, BesideTheAccessWindowAtItsFirstPlaceTheListStaysOnScreenAndTheNoteOutOfItsWay)
{
    CalendarFixture f(localTime(2027, 5, 3, 9, 0));
    QVariantList reminders;
    for (const char *title : {"call the bank", "buy milk", "renew the passport"})
        reminders << QVariantMap{{"x", 11}, {"T", title}, {"Color", 0}};
    f.controller->lists().mListOfReminder = reminders;
    // The access window's first place: 460 x 520 centred at 80 % across and 90 % up, on screen.
    const QRect room = QOR_WindowsUtils::availableRoomFor(QOR_WindowsUtils::getScreenRect());
    const QSize accessSize(460, 520);
    const QRect access = QOR_WindowsUtils::frameKeptInside(
        QRect(FadeSteps::placedOrigin(QOR_WindowsUtils::getScreenRect(), accessSize, 0.8, 0.9),
              accessSize),
        room);
    ASSERT_EQ(access.right(), room.right()) << "the access window touches the right edge";

    f.reminders->accessWindowOpened(access);
    const QRect list = f.reminders->listWindow().geometry();
    EXPECT_TRUE(room.contains(list)) << list.x() << "," << list.y() << " " << list.width();
    EXPECT_EQ(list.right(), access.left() - AgentReminders::Gap - 1);
    EXPECT_EQ(list.top(), access.top());

    const QRect note = ReminderWindow::defaultFrame(room, f.reminders->reminderWindow().size());
    EXPECT_TRUE(room.contains(note));
    EXPECT_FALSE(note.intersects(access)) << "the note covers the access window's buttons";
    EXPECT_EQ(f.reminders->reminderWindow().pos(), note.topLeft());
}

// The panel is as wide as its longest row needs, so a title is cut short only past the widest
// panel.
TEST(Reminders, TheListIsSizedToItsRowsAndElidesOnlyPastItsWidest)
{
    CalendarFixture f(localTime(2027, 5, 3, 9, 0));
    const QString longTitle = QStringLiteral("Renouveler l’assurance de la voiture avant lundi");
    f.controller->lists().mListOfReminder = {QVariantMap{{"x", 11}, {"T", longTitle}, {"Color", 1}},
                                             QVariantMap{{"x", 11}, {"T", "pain"}, {"Color", 0}}};
    f.reminders->accessWindowOpened(QRect(900, 200, 460, 520));
    ReminderListWindow &window = f.reminders->listWindow();
    const QFontMetrics metrics(window.listView()->font());
    // As the row draws it: its mark and margins take 26 points of the panel's inner width.
    const int room = window.width() - 2 * ReminderListView::Margin - 26;
    EXPECT_EQ(metrics.elidedText(longTitle, Qt::ElideRight, room), longTitle);
    EXPECT_GT(window.width(), ReminderListView::MinWidth);

    const QVariantList endless{QVariantMap{{"x", 11}, {"T", longTitle.repeated(4)}}};
    EXPECT_EQ(ReminderListView::widthFor(endless, QDate(2027, 5, 3), metrics),
              ReminderListView::MaxWidth);
    EXPECT_EQ(ReminderListView::widthFor({QVariantMap{{"x", 11}, {"T", "pain"}}}, QDate(2027, 5, 3),
                                         metrics),
              ReminderListView::MinWidth);
}

TEST(DailyCheck, RunsOncePerLocalDayAcrossMidnightSleepAndDaylightSavingChanges)
{
    ScopedTimeZone zone("Europe/Paris");
    // The evening before summer time starts (28 March 2027, 2:00 becomes 3:00).
    CalendarFixture f(localTime(2027, 3, 27, 22, 0));
    managerWrites({{"OtherDataCalendarEvents", 1}});
    f.controller->readMainSettings();
    f.tickFor(60);
    EXPECT_EQ(f.hooks->dailyChecks, 1) << "the first check comes at once";
    f.tickFor(3600);
    EXPECT_EQ(f.hooks->dailyChecks, 1);
    // Past midnight, through the short night, and on to the next evening.
    f.tickFor(3 * 3600);
    EXPECT_EQ(f.hooks->dailyChecks, 2);
    f.tickFor(18 * 3600);
    EXPECT_EQ(f.hooks->dailyChecks, 2);
    // The machine slept through two midnights: one check when it wakes.
    f.clock.advance(2 * 86400);
    f.tickFor(60);
    EXPECT_EQ(f.hooks->dailyChecks, 3);
    f.tickFor(60);
    EXPECT_EQ(f.hooks->dailyChecks, 3);
}

TEST(DailyCheck, AMoveEastwardIntoTheNextDayChecksAndAMoveBackDoesNotCheckTheSameDayAgain)
{
    // A pointer rather than an optional: GCC 12 takes the optional's string for uninitialised.
    auto zone = std::make_unique<ScopedTimeZone>("America/New_York");
    CalendarFixture f(localTime(2027, 6, 10, 20, 0));
    managerWrites({{"OtherDataCalendarEvents", 1}});
    f.controller->readMainSettings();
    f.tickFor(10);
    EXPECT_EQ(f.hooks->dailyChecks, 1);
    // Landing in Tokyo: already 11 June there.
    zone.reset();
    zone = std::make_unique<ScopedTimeZone>("Asia/Tokyo");
    f.tickFor(10);
    EXPECT_EQ(f.hooks->dailyChecks, 2);
    // Back in New York, still 10 June: that day was checked.
    zone.reset();
    zone = std::make_unique<ScopedTimeZone>("America/New_York");
    f.tickFor(3600);
    EXPECT_EQ(f.hooks->dailyChecks, 2);
}

TEST(DailyCheck, OpensTheCalendarOnlyForAnEventTodayWhileTheMenuAlwaysDoes)
{
    CalendarFixture f(localTime(2027, 6, 10, 8, 0));
    QSignalSpy shown(f.calendar.get(), &AgentCalendar::calendarWindowShown);
    f.store = {CalendarFixture::event("lunch", f.now().addDays(2))};
    f.calendar->readCalendarEvents(true);
    EXPECT_EQ(shown.count(), 0);
    EXPECT_EQ(f.calendar->window().eventsView()->calendarEvents().size(), 1);
    f.calendar->showCalendarWindow();
    EXPECT_EQ(shown.count(), 1);
    EXPECT_TRUE(f.reminders->listWindow().isVisible());
    f.calendar->window().hide();
    f.reminders->showReminderList();
    EXPECT_FALSE(f.reminders->listWindow().isVisible());

    // Two days later the event is today; a read that finds nothing keeps it.
    f.clock.advance(2 * 86400);
    f.store.clear();
    f.calendar->readCalendarEvents(true);
    EXPECT_EQ(shown.count(), 2);
    EXPECT_TRUE(f.calendar->window().isVisible());
    EXPECT_TRUE(f.reminders->listWindow().isVisible());
}
