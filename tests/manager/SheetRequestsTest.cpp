#include "ManagerFixture.h"

#include "CommonKorvaleClass.h"
#include "ItemEditorSheet.h"
#include "ManagerWindow.h"
#include "SectionViews.h"
#include "SheetRequestQueue.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

namespace {

QVariantMap application(const QString &title, const QString &path, const QString &abbreviation,
                        const QString &keywords)
{
    return {{"x", 1}, {"T", title}, {"P", path}, {"A", abbreviation}, {"K", keywords}};
}

QVariantMap savedApplication(const QString &path)
{
    for (const QVariant &record : CommonKorvaleClass::readListInFile(DataFileName::Applications)) {
        if (record.toMap().value("P").toString() == path)
            return record.toMap();
    }
    return {};
}

// Waits without a loop of its own, so the event-loop levels stay those of the sheets.
template <typename Done> bool waitUntil(Done done)
{
    for (int i = 0; i < 250 && !done(); ++i)
        QTest::qWait(20);
    return done();
}

} // namespace

// The agent asks for an edit while the user is in the middle of another: the open editor and
// the section behind it stay as they are, the user's edit is saved as seen, and the requested
// edit opens afterwards with its own fields.
TEST_F(ManagerTest, AnEditRequestedWhileAnEditorIsOpenWaitsForIt)
{
    // The request goes over the session bus when there is one, as the agent sends it.
    std::unique_ptr<NotificationCenter> agent;
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        std::unique_ptr<NotificationCenter> bus = NotificationCenter::createSessionBusCenter();
        if (bus->isAvailable()) {
            mNotifications = std::move(bus);
            agent = NotificationCenter::createSessionBusCenter();
        }
    }
    NotificationCenter *sender = agent ? agent.get() : mNotifications.get();
    const QVariantMap atlas = application("Atlas", "/apps/atlas.desktop", "at", "maps");
    const QVariantMap beacon = application("Beacon", "/apps/beacon.desktop", "bc", "light");
    CommonKorvaleClass::saveListInFile({atlas, beacon}, DataFileName::Applications);
    auto manager = makeManager();
    ASSERT_TRUE(manager->applicationDidFinishLaunching());
    int heard = 0;
    QObject::connect(mNotifications.get(), &NotificationCenter::notificationReceived,
                     [&](const QString &, const QString &object, const QVariantMap &) {
                         heard += object == "EditItem";
                     });

    manager->window()->selectSection(ManagerWindow::ApplicationsFound);
    ApplicationsFoundView *view = manager->applicationsView();
    view->searchField()->setText("atl");
    ASSERT_EQ(view->counterLabel()->text(), "1 / 2");

    ItemEditorSheet *editor = manager->itemEditor();
    int runs = 0;
    QObject::connect(editor, &ItemEditorSheet::running, editor, [&] {
        ++runs;
        if (runs == 1) {
            editor->abbreviationField()->setText("atl2");
            // The agent's "Edit…" on another item, seen by the manager while this one is open.
            // The wait gives a delayed edit every chance to act.
            sender->post(NotificationChannel::Main, "EditItem", beacon);
            EXPECT_TRUE(waitUntil([&] { return heard == 1; }));
            QTest::qWait(MainController::EditItemDelayMs * 2);

            EXPECT_EQ(editor->titleField()->text(), "Atlas");
            EXPECT_EQ(editor->abbreviationField()->text(), "atl2");
            EXPECT_EQ(editor->keywordsField()->text(), "maps");
            EXPECT_EQ(manager->window()->currentSection(), int(ManagerWindow::ApplicationsFound));
            EXPECT_EQ(view->searchText(), "atl");
            EXPECT_EQ(view->counterLabel()->text(), "1 / 2");
            EXPECT_EQ(manager->waitingRequests().pending().size(), 1);
            EXPECT_TRUE(manager->window()->statusBar()->currentMessage().contains("Beacon"));
            editor->accept();
        } else {
            EXPECT_EQ(editor->titleField()->text(), "Beacon");
            EXPECT_EQ(editor->abbreviationField()->text(), "bc");
            EXPECT_EQ(editor->keywordsField()->text(), "light");
            editor->keywordsField()->setText("light house");
            editor->accept();
        }
    });
    manager->editApplication(0);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(savedApplication("/apps/atlas.desktop").value("A").toString(), "atl2");
    EXPECT_EQ(savedApplication("/apps/atlas.desktop").value("K").toString(), "maps");

    ASSERT_TRUE(waitUntil([&] { return runs == 2; }));
    EXPECT_EQ(savedApplication("/apps/beacon.desktop").value("A").toString(), "bc");
    EXPECT_EQ(savedApplication("/apps/beacon.desktop").value("K").toString(), "light house");
    EXPECT_EQ(savedApplication("/apps/atlas.desktop").value("A").toString(), "atl2");
    EXPECT_TRUE(manager->waitingRequests().pending().isEmpty());
    EXPECT_FALSE(manager->window()->statusBar()->isVisible());
}

// Requests wait for the sheet, for the code that uses its result, and for an alert that code
// shows; then they run in order, a repeated one once.
TEST(SheetRequestQueue, RunsRequestsOnceTheSheetsCallerIsDone)
{
    QStringList order;
    SheetRequestQueue queue(
        [&](const SheetRequestQueue::Request &request) { order << request.object; });
    QDialog sheet;
    QTimer::singleShot(0, &sheet, [&] {
        queue.submit({"EditItem", {{"P", "/apps/beacon.desktop"}}});
        queue.submit({"EditItem", {{"P", "/apps/beacon.desktop"}}});
        queue.submit({"EditToDoItem", {}});
        EXPECT_EQ(queue.pending().size(), 2);
        sheet.accept();
        // Hidden, but its loop has not returned yet: events are still handled inside it.
        QTest::qWait(100);
        order << "closing";
    });
    sheet.exec();
    order << "result saved";
    QDialog alert;
    QTimer::singleShot(0, &alert, [&] {
        order << "alert";
        alert.accept();
    });
    alert.exec();
    order << "caller done";

    ASSERT_TRUE(waitUntil([&] { return queue.pending().isEmpty(); }));
    EXPECT_EQ(order.join(", ").toStdString(),
              "closing, result saved, alert, caller done, EditItem, EditToDoItem");

    // With no sheet open a request runs at once.
    queue.submit({"NotesChanged", {}});
    EXPECT_EQ(order.last(), "NotesChanged");
}
