#include "AgentReminders.h"

#include "DaemonClock.h"
#include "DaemonController.h"
#include "QOR_WindowsUtils.h"
#include "ReminderListView.h"
#include "ReminderWindow.h"

AgentReminders::AgentReminders(DaemonController &daemon, QObject *parent)
    : QObject(parent)
    , mDaemon(daemon)
{
}

ReminderWindow &AgentReminders::reminderWindow()
{
    if (mReminderWindow)
        return *mReminderWindow;
    mReminderWindow = std::make_unique<ReminderWindow>(&mDaemon.preferences());
    connect(mReminderWindow.get(), &ReminderWindow::listToggleRequested, this,
            &AgentReminders::showReminderList);
    connect(mReminderWindow.get(), &ReminderWindow::hideRequested, this,
            &AgentReminders::hideReminderWindow);
    connect(mReminderWindow.get(), &ReminderWindow::moved, this, [this] {
        if (mListAttached && isListVisible())
            placeListBesideReminderWindow();
    });
    mReminderWindow->setCount(int(mDaemon.lists().mListOfReminder.size()));
    return *mReminderWindow;
}

ReminderListWindow &AgentReminders::listWindow()
{
    if (!mListWindow)
        mListWindow = std::make_unique<ReminderListWindow>();
    return *mListWindow;
}

bool AgentReminders::isListVisible() const
{
    return mListWindow && mListWindow->isVisible();
}

AgentReminders::~AgentReminders() = default;

void AgentReminders::refreshReminderDisplay()
{
    updateReminderList();
    if (isListVisible()) {
        showReminderList();
        showReminderList();
    }
}

void AgentReminders::updateReminderList()
{
    const QVariantList &list = mDaemon.lists().mListOfReminder;
    if (mReminderWindow)
        mReminderWindow->setCount(int(list.size()));
    if (!list.isEmpty())
        showReminderWindow();
}

void AgentReminders::showReminderWindow()
{
    ReminderWindow &window = reminderWindow();
    window.moveInsideScreen();
    window.show();
    window.raise();
}

void AgentReminders::hideReminderWindow()
{
    if (mListWindow)
        mListWindow->hide();
    mListAttached = false;
    if (mReminderWindow)
        mReminderWindow->hide();
}

QRect AgentReminders::listFrameBeside(const QRect &anchor, int count, const QRect &screen,
                                      int width)
{
    const QSize size(width, ReminderListView::heightFor(count));
    return QOR_WindowsUtils::frameBeside(anchor, size, screen, Gap);
}

void AgentReminders::placeListBeside(const QRect &anchor)
{
    ReminderListWindow &window = listWindow();
    window.setGeometry(listFrameBeside(anchor, int(mDaemon.lists().mListOfReminder.size()),
                                       QOR_WindowsUtils::availableRoomFor(anchor),
                                       window.listView()->sizeHint().width()));
}

void AgentReminders::placeListBesideReminderWindow()
{
    placeListBeside(reminderWindow().frameGeometry());
}

void AgentReminders::showReminderList()
{
    showReminderWindow();
    if (isListVisible()) {
        mListWindow->hide();
        mListAttached = false;
        return;
    }
    ReminderListWindow &list = listWindow();
    list.listView()->setRemindersList(mDaemon.lists().mListOfReminder, mDaemon.clock().today());
    placeListBesideReminderWindow();
    mListAttached = true;
    list.show();
    list.raise();
}

void AgentReminders::accessWindowOpened(const QRect &accessFrame)
{
    mListWasVisible = isListVisible();
    const QVariantList &list = mDaemon.lists().mListOfReminder;
    if (list.isEmpty())
        return;
    mListAttached = false;
    ReminderListWindow &window = listWindow();
    window.listView()->setRemindersList(list, mDaemon.clock().today());
    placeListBeside(accessFrame);
    window.show();
    window.raise();
}

void AgentReminders::accessWindowClosed()
{
    if (mListWasVisible) {
        mListWasVisible = false;
        // Closed and opened again: back beside the reminder window.
        if (mListWindow)
            mListWindow->hide();
        showReminderList();
        return;
    }
    if (mListWindow)
        mListWindow->hide();
    mListAttached = false;
}
