#include "AgentToDo.h"

#include "CommonKorvaleClass.h"
#include "DaemonClock.h"
#include "DaemonController.h"
#include "DaemonHooks.h"
#include "QOR_DateUtils.h"
#include "QOR_WindowsUtils.h"
#include "TableViewToDo.h"
#include "ToDoWindow.h"
#include "WindowFocus.h"
#include "platform/NotificationCenter.h"

#include <QTimer>

AgentToDo::AgentToDo(DaemonController &daemon, QObject *parent)
    : QObject(parent)
    , mDaemon(daemon)
{
    connect(&daemon, &DaemonController::timerTicked, this, &AgentToDo::checkOverdue);
}

ToDoWindow &AgentToDo::window()
{
    if (mWindow)
        return *mWindow;
    const DaemonController *controller = &mDaemon;
    mWindow = std::make_unique<ToDoWindow>(&mDaemon.preferences(), [controller] {
        return QOR_DateUtils::fromReferenceSeconds(controller->clock().now());
    });
    connect(mWindow.get(), &ToDoWindow::doneRequested, this, &AgentToDo::doToDoDoneItem);
    connect(mWindow.get(), &ToDoWindow::nextDayRequested, this, &AgentToDo::doToDoNextDayItem);
    connect(mWindow.get(), &ToDoWindow::nextWeekRequested, this, &AgentToDo::doToDoNextWeekItem);
    connect(mWindow.get(), &ToDoWindow::nextMonthRequested, this,
            &AgentToDo::doToDoDoNextMonthItem);
    mWindow->setRecords(mDaemon.lists().mListOfToDo);
    return *mWindow;
}

AgentToDo::~AgentToDo() = default;

void AgentToDo::updateToDoList()
{
    const QVariantList &list = mDaemon.lists().mListOfToDo;
    mDisplayed.clear();
    for (qsizetype i = 0; i < list.size(); ++i)
        mDisplayed.append(int(i));
    if (mWindow)
        mWindow->setRecords(list);
    scheduleNextOverdue();
    const QDateTime now = QOR_DateUtils::fromReferenceSeconds(mDaemon.clock().now());
    if (ToDoItems::anyOverdue(list, now))
        showToDoList();
}

void AgentToDo::showToDoList()
{
    emit toDoListShown();
    // The fade runs its own event loop: a tick arriving meanwhile must not start a second one.
    if (mShowing)
        return;
    mShowing = true;
    ToDoWindow &shown = window();
    shown.table()->viewport()->update();
    QOR_WindowsUtils::showWindowSoft(&shown);
    WindowFocus::activate(&shown);
    mShowing = false;
}

bool AgentToDo::isWindowVisible() const
{
    return mWindow && mWindow->isVisible();
}

void AgentToDo::doToDoDoneItem()
{
    change(&ToDoItems::toggledDone);
}

void AgentToDo::postpone(ToDoItems::Step step)
{
    change([step](const QVariantMap &record) { return ToDoItems::postponed(record, step); });
}

void AgentToDo::change(const std::function<QVariantMap(const QVariantMap &)> &edit)
{
    if (mDaemon.hooks().isMainAppLaunched()) {
        mDaemon.notifications().post(NotificationChannel::Main, QStringLiteral("EditToDoItem"), {});
        emit handedToManager();
        return;
    }
    const int row = mWindow ? mWindow->selectedRow() : -1;
    if (row < 0 || row >= mDisplayed.size())
        return;
    QVariantList &list = mDaemon.lists().mListOfToDo;
    const int position = mDisplayed.at(row);
    if (position >= list.size())
        return;
    const QVariant before = list.at(position);
    list[position] = edit(before.toMap());
    if (!saveList()
        && mDaemon.lists().mFiles.mToDo.lastFailure().reason != SaveFailure::Reason::Busy) {
        // Nothing shows as done that is not on disk; the user was told why (SaveFailures).
        list[position] = before;
        updateToDoList();
        return;
    }
    updateToDoList();
    // The window came up for what was due; once nothing is, it has done its work.
    const QDateTime now = QOR_DateUtils::fromReferenceSeconds(mDaemon.clock().now());
    if (!ToDoItems::anyOverdue(list, now) && isWindowVisible())
        QOR_WindowsUtils::closeWindowSoft(mWindow.get(), nullptr, 0.3);
}

bool AgentToDo::saveList()
{
    ListFile &file = mDaemon.lists().mFiles.mToDo;
    if (file.save(mDaemon.lists().mListOfToDo))
        return true;
    if (file.lastFailure().reason == SaveFailure::Reason::Busy && !mRetryPending) {
        mRetryPending = true;
        QTimer::singleShot(250, this, [this] {
            mRetryPending = false;
            if (mDaemon.lists().mFiles.mToDo.lastFailure().failed() && saveList())
                updateToDoList();
        });
    }
    return false;
}

void AgentToDo::scheduleNextOverdue()
{
    const QDateTime now = QOR_DateUtils::fromReferenceSeconds(mDaemon.clock().now());
    const std::optional<QDateTime> next = ToDoItems::nextDueAfter(mDaemon.lists().mListOfToDo, now);
    mNextOverdueAt.reset();
    if (next)
        mNextOverdueAt = QOR_DateUtils::referenceSeconds(*next);
}

void AgentToDo::checkOverdue()
{
    // A task is overdue once its date is earlier than now, so the moment itself does not count.
    if (!mNextOverdueAt || mDaemon.clock().now() <= *mNextOverdueAt)
        return;
    scheduleNextOverdue();
    QTimer::singleShot(0, this, [this] { showToDoList(); });
}
