#include "AgentReminders.h"

#include "DaemonClock.h"
#include "DaemonController.h"
#include "QOR_WindowsUtils.h"
#include "ReminderListView.h"
#include "ReminderWindow.h"

#include <QGuiApplication>
#include <QScreen>

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
    const int height = ReminderListView::RowHeight * std::max(1, count);
    const int width = ReminderListView::Width;
    QRect frame(anchor.right() + 1 + Gap, anchor.top(), width, height);
    if (frame.right() > screen.right())
        frame.moveLeft(anchor.left() - Gap - width);
    if (frame.bottom() > screen.bottom())
        frame.moveBottom(screen.bottom());
    return frame;
}

void AgentReminders::placeListBesideReminderWindow()
{
    const QScreen *screen = QGuiApplication::screenAt(mReminderWindow->geometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1 << 16, 1 << 16);
    mListWindow->setGeometry(listFrameBeside(mReminderWindow->frameGeometry(),
                                             int(mDaemon.lists().mListOfReminder.size()), area));
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
    mListWindow->setGeometry(QRect(accessFrame.right() + 1 + Gap, accessFrame.top(),
                                   ReminderListView::Width,
                                   ReminderListView::RowHeight * int(list.size())));
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
