#pragma once

#include <QList>
#include <QObject>
#include <QVariantMap>

#include <memory>
#include <optional>

#include "ToDoItems.h"

class DaemonController;
class ToDoWindow;

// The agent's side of the to-do list: the window's rows, the four commands of its menu, and
// the watch that brings the window up when a task falls overdue. While the manager runs, the
// agent leaves the list to it and asks it to show its to-do section instead.
class AgentToDo : public QObject
{
    Q_OBJECT
public:
    explicit AgentToDo(DaemonController &daemon, QObject *parent = nullptr);
    ~AgentToDo() override;

    // Built when first needed (shown, or asked for): an agent whose list never comes up keeps no
    // window.
    ToDoWindow &window();
    ToDoWindow *builtWindow() const { return mWindow.get(); }
    const QList<int> &displayedIndexes() const { return mDisplayed; }

    // updateToDoList: the rows again; the window comes up when a task is overdue.
    void updateToDoList();
    // showToDoList: fades the window in.
    void showToDoList();
    bool isWindowVisible() const;

    // The menu's commands on the selected row.
    void doToDoDoneItem();
    void doToDoNextDayItem() { postpone(ToDoItems::Step::Day); }
    void doToDoNextWeekItem() { postpone(ToDoItems::Step::Week); }
    void doToDoDoNextMonthItem() { postpone(ToDoItems::Step::Month); }

signals:
    // The window was asked to come up (for tests and the bus).
    void toDoListShown();
    // The manager was asked to show its section instead of a change here.
    void handedToManager();

private:
    void change(const std::function<QVariantMap(const QVariantMap &)> &edit);
    // Saves the list as it is now; while another program holds the list's save lock the change
    // stays in memory and is tried again shortly.
    bool saveList();
    void postpone(ToDoItems::Step step);
    // From the timer: cheap unless a due time was passed.
    void checkOverdue();
    void scheduleNextOverdue();

    DaemonController &mDaemon;
    std::unique_ptr<ToDoWindow> mWindow;
    QList<int> mDisplayed;
    // Reference seconds at which the next task not done falls overdue.
    std::optional<double> mNextOverdueAt;
    bool mShowing = false;
    bool mRetryPending = false;
};
