#include "ManagerFixture.h"

#include "CommonKorvaleClass.h"
#include "ManagerWindow.h"
#include "ReminderSection.h"
#include "StartupSheets.h"
#include "ToDoItems.h"
#include "ToDoSection.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

namespace {

QStringList titles(const QVariantList &list)
{
    QStringList result;
    for (const QVariant &item : list)
        result << item.toMap().value("T").toString();
    return result;
}

// The JSON that `korvale-data load` takes, for to-do records.
QByteArray toDoJson(const QList<std::pair<QString, QDateTime>> &tasks)
{
    QStringList records;
    for (const auto &[title, date] : tasks)
        records << QStringLiteral(R"({"x": 8, "T": "%1", "Date": {"$date": "%2"}, "Done": 0})")
                       .arg(title, date.toUTC().toString(Qt::ISODateWithMs));
    return ("[" + records.join(", ") + "]").toUtf8();
}

} // namespace

TEST_F(ManagerTest, ToDoItemsAreAddedEditedFilteredAndRemovedAndStayInDateOrder)
{
    const QDateTime base(QDate(2027, 5, 3), QTime(9, 0), Qt::LocalTime);
    CommonKorvaleClass::saveListInFile(
        {ToDoItems::newRecord("water plants", base, false),
         ToDoItems::newRecord("book flights", base.addDays(3), true)},
        DataFileName::ToDo);
    auto manager = makeManager();
    ToDoSection *section = manager->toDoSection();
    ASSERT_NE(section, nullptr);
    section->readList();
    EXPECT_EQ(section->view()->model()->rowCount(), 2);

    // A new item proposes the current time without seconds; the user names it and dates it.
    ToDoEditorSheet *editor = section->editor();
    QDateTime proposed;
    QObject::connect(editor, &ToDoEditorSheet::running, editor, [&] {
        proposed = editor->dateField()->dateTime();
        if (editor->titleField()->text().isEmpty()) {
            editor->titleField()->setText("Call Anna");
            editor->dateField()->setDateTime(base.addDays(1));
        } else {
            editor->doneBox()->setChecked(true);
        }
        editor->accept();
    });
    const QDateTime before = QDateTime::currentDateTime();
    QTest::mouseClick(section->view()->findChild<QPushButton *>("ManagerAdd"), Qt::LeftButton);
    EXPECT_EQ(proposed.time().second(), 0);
    EXPECT_LE(std::abs(proposed.secsTo(before)), 61);
    EXPECT_EQ(titles(CommonKorvaleClass::readListInFile(DataFileName::ToDo)),
              QStringList({"water plants", "Call Anna", "book flights"}));

    // Editing the middle row keeps its place and ticks it off.
    section->view()->table()->setCurrentIndex(section->view()->model()->index(1, 0));
    section->editToDo();
    const QVariantList stored = CommonKorvaleClass::readListInFile(DataFileName::ToDo);
    ASSERT_EQ(stored.size(), 3);
    EXPECT_EQ(stored.at(1).toMap().value("T").toString(), "Call Anna");
    EXPECT_EQ(stored.at(1).toMap().value("Done").toInt(), 1);
    EXPECT_EQ(stored.at(1).toMap().keys(), QStringList({"Date", "Done", "T", "x"}));

    // The filter, then removing what it shows.
    section->view()->searchField()->setText("plan");
    ASSERT_EQ(section->view()->model()->rowCount(), 1);
    EXPECT_FALSE(section->view()->removeButton()->isEnabled());
    section->view()->table()->setCurrentIndex(section->view()->model()->index(0, 0));
    EXPECT_TRUE(section->view()->removeButton()->isEnabled());
    section->view()->removeButton()->click();
    EXPECT_EQ(titles(CommonKorvaleClass::readListInFile(DataFileName::ToDo)),
              QStringList({"Call Anna", "book flights"}));
}

TEST_F(ManagerTest, ToDoItemsLoadedByAnotherProgramDuringAnEditAreKeptAndTheEditFindsItsTask)
{
    const QDateTime base(QDate(2027, 5, 3), QTime(9, 0), Qt::LocalTime);
    CommonKorvaleClass::saveListInFile(
        {ToDoItems::newRecord("water plants", base, false),
         ToDoItems::newRecord("book flights", base.addDays(3), false)},
        DataFileName::ToDo);
    auto manager = makeManager();
    mNotifications->observe(NotificationChannel::Main);
    ToDoSection *section = manager->toDoSection();
    section->readList();

    ToDoEditorSheet *editor = section->editor();
    int run = 0;
    QObject::connect(editor, &ToDoEditorSheet::running, editor, [&] {
        ++run;
        if (run == 1) {
            // A script replaces the list: "water plants" gone, "pay rent" new.
            const ProgramRun load = runProgram(
                builtProgram("bin/korvale-data"), {"load", DataFileName::ToDo},
                toDoJson({{"pay rent", base.addDays(-1)}, {"book flights", base.addDays(3)}}));
            EXPECT_EQ(load.exitCode, 0) << load.err.toStdString();
            editor->doneBox()->setChecked(true);
        } else {
            // A task that sorts first arrives, and the manager reads the list again (the
            // agent's request to show the to-do section) while the sheet is open.
            QVariantList now = CommonKorvaleClass::readListInFile(DataFileName::ToDo);
            now.prepend(ToDoItems::newRecord("alarm", base.addDays(-2), false));
            CommonKorvaleClass::saveListInFile(now, DataFileName::ToDo);
            mNotifications->post(NotificationChannel::Main, "EditToDoItem", {});
            QCoreApplication::processEvents();
            editor->titleField()->setText("book flights and hotel");
        }
        editor->accept();
    });
    section->view()->table()->setCurrentIndex(section->view()->model()->index(1, 0));
    section->editToDo();
    QVariantList stored = CommonKorvaleClass::readListInFile(DataFileName::ToDo);
    EXPECT_EQ(titles(stored), QStringList({"pay rent", "book flights"}));
    EXPECT_EQ(stored.value(1).toMap().value("Done").toInt(), 1);

    section->view()->table()->setCurrentIndex(section->view()->model()->index(1, 0));
    section->editToDo();
    EXPECT_EQ(run, 2);
    stored = CommonKorvaleClass::readListInFile(DataFileName::ToDo);
    EXPECT_EQ(titles(stored), QStringList({"alarm", "pay rent", "book flights and hotel"}));
    EXPECT_EQ(titles(section->list()), titles(stored));
}

// The agent's requests bring their section with the list as it stands in the file now, even when
// the section was already selected; Help in the agent brings the tour.
TEST_F(ManagerTest, TheAgentsRequestsBringTheirSectionsAndTheTour)
{
    auto manager = makeManager();
    mNotifications->observe(NotificationChannel::Main);
    const QDateTime base(QDate(2027, 5, 3), QTime(9, 0), Qt::LocalTime);
    int written = 0;
    // The second to-do request finds its section selected already.
    for (const char *request : {"EditToDoItem", "EditToDoItem", "EditReminderItem"}) {
        const bool toDo = QLatin1String(request) == QLatin1String("EditToDoItem");
        const QString title = QStringLiteral("written by the agent %1").arg(++written);
        if (toDo)
            CommonKorvaleClass::saveListInFile({ToDoItems::newRecord(title, base, false)},
                                               DataFileName::ToDo);
        else
            CommonKorvaleClass::saveListInFile({QVariantMap{{"x", 11}, {"T", title}, {"Color", 0}}},
                                               DataFileName::Reminder);
        mNotifications->post(NotificationChannel::Main, request, {});
        QCoreApplication::processEvents();
        EXPECT_EQ(manager->window()->currentSection(),
                  int(toDo ? ManagerWindow::ToDo : ManagerWindow::Reminder))
            << request;
        const QVariantList shown =
            toDo ? manager->toDoSection()->list() : manager->reminderSection()->list();
        EXPECT_EQ(titles(shown), QStringList{title}) << request;
    }

    EXPECT_EQ(manager->quickTour(), nullptr);
    mNotifications->post(NotificationChannel::Main, "ShowQuickTour", {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return manager->quickTour() != nullptr; }, 2000));
    EXPECT_TRUE(manager->quickTour()->isVisible());
    mNotifications->post(NotificationChannel::Main, "ShowQuickTour", {});
    QCoreApplication::processEvents();
    EXPECT_EQ(manager->window()->findChildren<TourWindow *>().size(), 1) << "one tour at a time";
    manager->quickTour()->close();
}

TEST_F(ManagerTest, RemindersKeepTitleOrderWithTheirColourAndTheBoxesTellTheAgent)
{
    auto manager = makeManager();
    ReminderSection *section = manager->reminderSection();
    ASSERT_NE(section, nullptr);
    ReminderEditorSheet *editor = section->editor();
    QStringList names{"zinc", "Apples"};
    QObject::connect(editor, &ReminderEditorSheet::running, editor, [&] {
        EXPECT_EQ(editor->colorMenu()->count(), 4);
        editor->titleField()->setText(names.takeFirst());
        editor->colorMenu()->setCurrentIndex(names.isEmpty() ? 2 : 1);
        editor->accept();
    });
    section->addReminder();
    section->addReminder();
    const QVariantList stored = CommonKorvaleClass::readListInFile(DataFileName::Reminder);
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(stored.at(0).toMap(), QVariantMap({{"x", 11}, {"T", "Apples"}, {"Color", 2}}));
    EXPECT_EQ(stored.at(1).toMap().value("Color").toInt(), 1);

    clearPosted();
    EXPECT_TRUE(section->view()->toDoBox()->isChecked());
    section->view()->toDoBox()->click();
    EXPECT_EQ(posted(), QStringList({"SettingChanged"}));
    SharedPreferences agent;
    EXPECT_EQ(agent.value("ReminderAddToDoItems").toInt(), 0);
    EXPECT_EQ(agent.value("ReminderAddCalendarEntries").toInt(), 1);
}
