#include "ToDoTestSupport.h"

#include "AgentToDo.h"
#include "AtomicFile.h"
#include "CommonKorvaleClass.h"
#include "QOR_StringUtils.h"
#include "SaveFailures.h"
#include "TableViewToDo.h"
#include "ToDoItems.h"
#include "ToDoSection.h"
#include "ToDoWindow.h"

#include <QDateTimeEdit>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <cerrno>

#include <gtest/gtest.h>

namespace {

// Hooks that hand each reload of the to-do file to the agent's to-do side.
class ToDoHooks : public RecordingHooks
{
public:
    AgentToDo *toDo = nullptr;
    bool managerRunning = false;
    void refreshToDoDisplay() override
    {
        RecordingHooks::refreshToDoDisplay();
        if (toDo)
            toDo->updateToDoList();
    }
    bool isMainAppLaunched() override { return managerRunning; }
};

struct ToDoFixture {
    TemporaryHome home;
    FakeDaemonClock clock{referenceOf(localTime(2027, 5, 3, 9, 0))};
    SharedPreferences preferences{SharedPreferences::defaultPath()};
    std::shared_ptr<ToDoHooks> hooks = std::make_shared<ToDoHooks>();
    std::shared_ptr<NotificationCenter> notifications{NotificationCenter::createLocalCenter()};
    std::unique_ptr<DaemonController> controller;
    std::unique_ptr<AgentToDo> toDo;

    ToDoFixture()
    {
        DaemonController::Environment environment;
        environment.preferences = &preferences;
        environment.clock = &clock;
        environment.hooks = hooks;
        environment.notifications = notifications;
        environment.quitApplication = [] {};
        controller = std::make_unique<DaemonController>(std::move(environment));
        toDo = std::make_unique<AgentToDo>(*controller);
        hooks->toDo = toDo.get();
    }

    QDateTime now() const { return QOR_DateUtils::fromReferenceSeconds(clock.now()); }
    void tick(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            emit controller->timerTicked();
        QCoreApplication::processEvents();
    }
    QVariantList stored() const { return CommonKorvaleClass::readListInFile(DataFileName::ToDo); }
    void select(const QString &title)
    {
        const QVariantList &list = controller->lists().mListOfToDo;
        for (int row = 0; row < toDo->displayedIndexes().size(); ++row) {
            if (list.at(toDo->displayedIndexes().at(row)).toMap().value("T") == title)
                toDo->window().table()->setCurrentIndex(toDo->window().model()->index(row));
        }
    }
};

} // namespace

TEST(AgentToDo, ATaskFallingOverdueBringsTheWindowUpOnceAndTickingItOffClosesIt)
{
    ToDoFixture f;
    const QDateTime start = f.now();
    CommonKorvaleClass::saveListInFile(
        {ToDoItems::newRecord("old and done", start.addDays(-1), true),
         ToDoItems::newRecord("call the bank", start.addSecs(600), false),
         ToDoItems::newRecord("renew the lease", start.addDays(2), false)},
        DataFileName::ToDo);
    QSignalSpy shown(f.toDo.get(), &AgentToDo::toDoListShown);
    f.controller->readData();
    EXPECT_EQ(f.toDo->builtWindow(), nullptr) << "built when first needed";
    EXPECT_EQ(f.toDo->window().model()->rowCount(), 3);
    EXPECT_EQ(shown.count(), 0);

    f.clock.advance(599);
    f.tick(5);
    EXPECT_EQ(shown.count(), 0);
    f.clock.advance(2);
    f.tick();
    EXPECT_EQ(shown.count(), 1);
    EXPECT_TRUE(f.toDo->isWindowVisible());
    // Still overdue, still the same list: no second opening on later ticks.
    f.clock.advance(60);
    f.tick(20);
    EXPECT_EQ(shown.count(), 1);

    f.select("call the bank");
    f.toDo->doToDoDoneItem();
    const QVariantList stored = f.stored();
    ASSERT_EQ(stored.size(), 3);
    for (const QVariant &item : stored) {
        if (item.toMap().value("T") == "call the bank") {
            EXPECT_EQ(item.toMap().value("Done").toInt(), 1);
        }
    }
    EXPECT_FALSE(f.toDo->isWindowVisible());

    // The next task falls due two days later, and only then.
    f.clock.advance(86400);
    f.tick();
    EXPECT_EQ(shown.count(), 1);
    f.clock.advance(86400);
    f.tick();
    EXPECT_EQ(shown.count(), 2);
}

TEST(AgentToDo, WithTheManagerRunningEveryCommandLeavesTheFileAndAsksTheManager)
{
    ToDoFixture f;
    CommonKorvaleClass::saveListInFile({ToDoItems::newRecord("pay", f.now().addDays(-1), false)},
                                       DataFileName::ToDo);
    f.controller->readData();
    f.select("pay");
    QFile file(CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(DataFileName::ToDo));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    f.notifications->observe(NotificationChannel::Main);
    QSignalSpy posts(f.notifications.get(), &NotificationCenter::notificationReceived);
    f.hooks->managerRunning = true;
    f.toDo->doToDoDoneItem();
    f.toDo->doToDoNextDayItem();
    f.toDo->doToDoNextWeekItem();
    f.toDo->doToDoDoNextMonthItem();
    QCoreApplication::processEvents();
    ASSERT_EQ(posts.count(), 4);
    for (const QList<QVariant> &post : posts) {
        EXPECT_EQ(post.at(0).toString(), NotificationChannel::Main);
        EXPECT_EQ(post.at(1).toString(), "EditToDoItem");
        EXPECT_TRUE(post.at(2).toMap().isEmpty());
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);

    // Once the manager is gone the agent changes the list itself, and keeps it in order.
    f.hooks->managerRunning = false;
    f.toDo->doToDoNextWeekItem();
    const QVariantList stored = f.stored();
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(ToDoItems::dueDate(stored.first().toMap()), f.now().addSecs(6 * 86400));
}

namespace {

QStringList describedTasks(const QVariantList &list)
{
    QStringList out;
    for (const QVariant &item : list)
        out << item.toMap().value("T").toString()
                + (item.toMap().value("Done").toInt() ? " (done)" : "");
    return out;
}

} // namespace

// The agent ticks a task off in its to-do window while the manager has the list open (the
// agent does so when it cannot see the manager, as from another session); the manager then adds a
// task. Neither program's change is lost, and each sees the other's at its next save.
TEST(ToDoBetweenPrograms, ATaskTickedOffInTheAgentStaysDoneWhenTheManagerAddsOne)
{
    ToDoFixture f;
    const QDateTime start = f.now();
    CommonKorvaleClass::saveListInFile(
        {ToDoItems::newRecord("call the bank", start.addSecs(600), false),
         ToDoItems::newRecord("renew the lease", start.addDays(2), false)},
        DataFileName::ToDo);
    f.controller->readData();
    ToDoSection manager([&f] { return f.now(); });
    std::unique_ptr<QWidget> managerView(manager.view()); // no window holds it here
    ASSERT_EQ(manager.list().size(), 2);

    f.select("call the bank");
    f.toDo->doToDoDoneItem();
    ASSERT_EQ(describedTasks(f.stored()), QStringList({"call the bank (done)", "renew the lease"}));

    QObject::connect(manager.editor(), &ToDoEditorSheet::running, manager.editor(), [&] {
        manager.editor()->titleField()->setText("pay the rent");
        manager.editor()->dateField()->setDateTime(start.addDays(1));
        manager.editor()->accept();
    });
    manager.addToDo();
    const QStringList expected{"call the bank (done)", "pay the rent", "renew the lease"};
    EXPECT_EQ(describedTasks(f.stored()), expected);
    EXPECT_EQ(describedTasks(manager.list()), expected);

    // And the other way round: the agent postpones a task it read before the manager's save.
    f.select("renew the lease");
    f.toDo->doToDoNextDayItem();
    EXPECT_EQ(describedTasks(f.stored()), expected);
    EXPECT_EQ(describedTasks(f.controller->lists().mListOfToDo), expected);
}

// With the disk full, neither program shows as saved what is not on disk: the agent's row stays
// as it was, the manager keeps its new task on screen and saves it once the disk has room, and
// the failure is said once, naming the list and the reason.
TEST(ToDoSaves, AFullDiskIsSaidAndNoRowShowsWhatIsNotOnDisk)
{
    QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
    ToDoFixture f;
    const QDateTime start = f.now();
    CommonKorvaleClass::saveListInFile(
        {ToDoItems::newRecord("call the bank", start.addSecs(600), false),
         ToDoItems::newRecord("renew the lease", start.addDays(2), false)},
        DataFileName::ToDo);
    f.controller->readData();
    ToDoSection manager([&f] { return f.now(); });
    std::unique_ptr<QWidget> managerView(manager.view());
    QStringList said;
    SaveFailures::setPresenter([&said](const QString &path, const SaveFailure &failure) {
        said << failure.title(path) + " " + failure.reasonText();
    });
    const QStringList before{"call the bank", "renew the lease"};

    AtomicFile::failWritesForTesting(ENOSPC);
    f.select("call the bank");
    f.toDo->doToDoDoneItem();
    EXPECT_EQ(describedTasks(f.controller->lists().mListOfToDo), before);
    QObject::connect(manager.editor(), &ToDoEditorSheet::running, manager.editor(), [&] {
        manager.editor()->titleField()->setText("pay the rent");
        manager.editor()->dateField()->setDateTime(start.addDays(1));
        manager.editor()->accept();
    });
    manager.addToDo();
    EXPECT_EQ(describedTasks(manager.list()).size(), 3);
    EXPECT_EQ(describedTasks(f.stored()), before);
    QCoreApplication::processEvents();
    EXPECT_EQ(said, QStringList{"“To-Do” could not be saved The disk is full."});

    // Reading the list again, as the manager does when the agent says it changed, saves the
    // kept task instead of dropping it.
    AtomicFile::failWritesForTesting(0);
    manager.readList();
    EXPECT_EQ(describedTasks(f.stored()),
              QStringList({"call the bank", "pay the rent", "renew the lease"}));
    SaveFailures::setPresenter({});
}

TEST(ToDoWindow, AnEmptyListSaysThereIsNoTaskInEnglishAndFrench)
{
    QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
    EXPECT_EQ(TableViewToDo::emptyText(), "No to-do items");
    QOR_StringUtils::installTranslations(QLocale(QStringLiteral("fr")));
    EXPECT_EQ(TableViewToDo::emptyText(), "Aucune tâche");
    QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
}
