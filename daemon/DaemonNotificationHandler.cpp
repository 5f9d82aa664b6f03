#include "DaemonNotificationHandler.h"

#include "DaemonClock.h"
#include "DaemonController.h"
#include "DaemonHooks.h"
#include "platform/NotificationCenter.h"

#include <QTimer>

void DaemonNotificationHandler::receiveNotification(const QString &channel, const QString &object,
                                                    const QVariantMap &)
{
    if (object.isEmpty())
        return;
    if (channel == NotificationChannel::Daemon)
        handleDaemonCommand(object);
    else if (channel == NotificationChannel::Browser)
        handleBrowserCommand(object);
}

void DaemonNotificationHandler::handleDaemonCommand(const QString &object)
{
    DaemonController *controller = &mController;
    DaemonHooks &hooks = mController.hooks();
    if (object == QLatin1String("MainAppLaunched")) {
        hooks.saveApplicationsUse();
    } else if (object == QLatin1String("SettingChanged")) {
        QTimer::singleShot(500, controller, [controller] { controller->readMainSettings(); });
        QTimer::singleShot(600, controller, [controller] { controller->readData(); });
        mController.schedule().mNextOtherSettingsUpdate = mController.clock().now() + 3.0;
    } else if (object == QLatin1String("ShowKeysDetection")) {
        hooks.showKeysDetectionWindow();
    } else if (object == QLatin1String("CloseKeysDetection")) {
        hooks.closeKeysDetectionWindow();
    } else if (object == QLatin1String("QuitDaemon")) {
        QTimer::singleShot(100, controller, [controller] { controller->terminateDelayed(); });
    } else if (object == QLatin1String("RescanFolders")) {
        QTimer::singleShot(2000, controller, [controller] { controller->hooks().rescanFolders(); });
    } else if (object == QLatin1String("RescanApplications")) {
        QTimer::singleShot(2000, controller,
                           [controller] { controller->hooks().rescanApplications(); });
    } else if (object == QLatin1String("NotesChanged")) {
        // korvale-notes or the manager saved notes: the changed files are reread at once.
        QTimer::singleShot(10, controller, [controller] {
            controller->readData();
            controller->hooks().reloadProtectedNotes();
            if (controller->flags().mWindowVisible)
                controller->hooks().rerunSearch();
        });
    } else if (object == QLatin1String("ScanApplicationsCompleted")) {
        QTimer::singleShot(10, controller, [controller] { controller->readData(); });
        if (mController.flags().mWindowVisible) {
            QTimer::singleShot(200, controller, [controller] {
                controller->hooks().rerunSearch();
                controller->hooks().hideScanningPanel();
            });
        }
    }
    // Whatever the command, the menu-bar menu is rebuilt with current data when next opened.
    mController.flags().mMenuBarMenuBuilt = false;
    hooks.discardMenuBarMenu();
}

void DaemonNotificationHandler::handleBrowserCommand(const QString &object)
{
    // "PathToBrowser" and "QuitBrowser" are the agent's own posts to the browser.
    if (object != QLatin1String("QuickLookWindowClosedNotification"))
        return;
    if (!mController.flags().mWindowVisible)
        return;
    mController.hooks().bringAgentToFront();
    mController.notifications().post(NotificationChannel::QuickLook,
                                     QStringLiteral("QuickLookQuitNotification"));
}
