#pragma once

#include "ReminderListView.h"

#include <QObject>
#include <QRect>

#include <memory>

class DaemonController;
class ReminderWindow;

// The agent's reminders on screen: the reminder window, shown while the reminder list is not
// empty, and the list window, which opens beside it, or beside the access window while that
// is open.
class AgentReminders : public QObject
{
    Q_OBJECT
public:
    static constexpr int Gap = 2;

    explicit AgentReminders(DaemonController &daemon, QObject *parent = nullptr);
    ~AgentReminders() override;

    // Both built when first needed: without reminders the agent keeps neither.
    ReminderWindow &reminderWindow();
    ReminderListWindow &listWindow();
    ReminderWindow *builtReminderWindow() const { return mReminderWindow.get(); }

    // After each reload: the window while there are reminders, the open list redrawn.
    void refreshReminderDisplay();
    void updateReminderList();
    void showReminderWindow();
    void hideReminderWindow();
    // Toggles the list window beside the reminder window.
    void showReminderList();

    // The access window opened at this frame, or closed.
    void accessWindowOpened(const QRect &accessFrame);
    void accessWindowClosed();

    // Where a list of `count` rows goes beside `anchor` (the reminder window or the access
    // window): right of it when it fits in `screen`, else left; top-aligned, but lifted so that
    // its bottom stays on screen.
    static QRect listFrameBeside(const QRect &anchor, int count, const QRect &screen,
                                 int width = ReminderListView::MinWidth);

private:
    bool isListVisible() const;
    void placeListBeside(const QRect &anchor);
    void placeListBesideReminderWindow();

    DaemonController &mDaemon;
    std::unique_ptr<ReminderWindow> mReminderWindow;
    std::unique_ptr<ReminderListWindow> mListWindow;
    bool mListAttached = false;
    bool mListWasVisible = false;
};
