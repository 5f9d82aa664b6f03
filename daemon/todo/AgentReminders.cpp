#include "AgentReminders.h"

#include "DaemonClock.h"
#include "DaemonController.h"
#include "QOR_WindowsUtils.h"
#include "ReminderListView.h"
#include "ReminderWindow.h"

AgentReminders::AgentReminders(DaemonController &daemon, QObject *parent)
    : QObject(parent)
    , mDaemon(daemon)
    , mReminderWindow(std::make_unique<ReminderWindow>(&daemon.preferences()))
    , mListWindow(std::make_unique<ReminderListWindow>())
{
    connect(mReminderWindow.get(), &ReminderWindow::listToggleRequested, this,
            &AgentReminders::showReminderList);
    connect(mReminderWindow.get(), &ReminderWindow::hideRequested, this,
            &AgentReminders::hideReminderWindow);
    connect(mReminderWindow.get(), &ReminderWindow::moved, this, [this] {
        if (mListAttached && mListWindow->isVisible())
            placeListBesideReminderWindow();
    });
}

AgentReminders::~AgentReminders() = default;

void AgentReminders::refreshReminderDisplay()
{
    updateReminderList();
    if (mListWindow->isVisible()) {
        showReminderList();
        showReminderList();
    }
}

void AgentReminders::updateReminderList()
{
    const QVariantList &list = mDaemon.lists().mListOfReminder;
    mReminderWindow->setCount(int(list.size()));
    if (!list.isEmpty())
        showReminderWindow();
}

void AgentReminders::showReminderWindow()
{
    mReminderWindow->moveInsideScreen();
    mReminderWindow->show();
    mReminderWindow->raise();
}

void AgentReminders::hideReminderWindow()
{
    mListWindow->hide();
    mListAttached = false;
    mReminderWindow->hide();
}

QRect AgentReminders::listFrameBeside(const QRect &anchor, int count, const QRect &screen)
{
    const QSize size(ReminderListView::Width, ReminderListView::RowHeight * std::max(1, count));
    return QOR_WindowsUtils::frameBeside(anchor, size, screen, Gap);
}

void AgentReminders::placeListBeside(const QRect &anchor)
{
    mListWindow->setGeometry(listFrameBeside(anchor, int(mDaemon.lists().mListOfReminder.size()),
                                             QOR_WindowsUtils::availableRoomFor(anchor)));
}

void AgentReminders::placeListBesideReminderWindow()
{
    placeListBeside(mReminderWindow->frameGeometry());
}

void AgentReminders::showReminderList()
{
    showReminderWindow();
    if (mListWindow->isVisible()) {
        mListWindow->hide();
        mListAttached = false;
        return;
    }
    mListWindow->listView()->setRemindersList(mDaemon.lists().mListOfReminder,
                                              mDaemon.clock().today());
    placeListBesideReminderWindow();
    mListAttached = true;
    mListWindow->show();
    mListWindow->raise();
}

void AgentReminders::accessWindowOpened(const QRect &accessFrame)
{
    mListWasVisible = mListWindow->isVisible();
    const QVariantList &list = mDaemon.lists().mListOfReminder;
    if (list.isEmpty())
        return;
    mListAttached = false;
    mListWindow->listView()->setRemindersList(list, mDaemon.clock().today());
    placeListBeside(accessFrame);
    mListWindow->show();
    mListWindow->raise();
}

void AgentReminders::accessWindowClosed()
{
    if (mListWasVisible) {
        mListWasVisible = false;
        // Closed and opened again: back beside the reminder window.
        mListWindow->hide();
        showReminderList();
        return;
    }
    mListWindow->hide();
    mListAttached = false;
}
