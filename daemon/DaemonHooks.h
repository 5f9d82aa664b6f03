#pragma once

#include <QString>
#include <QVariantList>

// The places where the agent's core hands over to the windows, scans and readers that are built
// on top of it. Each default does nothing (or what a missing piece amounts to), so the core runs
// and is tested on its own; the program installs a subclass as each piece arrives.
class DaemonHooks
{
public:
    virtual ~DaemonHooks() = default;

    // Windows and menus built in the first start-up stage.
    virtual void buildWindowsAndMenus() { }
    // The menu-bar menu: built by the periodic check when missing.
    virtual void buildMenuBarMenu() { }
    virtual void discardMenuBarMenu() { }

    // Key-detection window.
    virtual void showKeysDetectionWindow() { }
    virtual void closeKeysDetectionWindow() { }

    // Access window and its scanning panel.
    virtual void rerunSearch() { }
    // Another program saved the protected notes.
    virtual void reloadProtectedNotes() { }
    virtual void hideScanningPanel() { }
    virtual void closeAccessWindow() { }
    // The access window's frame as a frame string ("x y w h"), for the browser.
    virtual QString accessWindowFrame() { return {}; }
    virtual void bringAgentToFront() { }
    virtual void hideThisApplication() { }

    // Displays refreshed after a reload.
    virtual void refreshToDoDisplay() { }
    // Redraws the reminder list (toggling its window twice when it is visible).
    virtual void refreshReminderDisplay() { }

    // Scanner.
    virtual void rescanFolders() { }
    virtual void rescanApplications() { }
    virtual void startApplicationScan() { }
    virtual void startDocumentScan() { }

    // Readers and data services.
    virtual void rebuildItemsWithShortcuts() { }
    // Starts reading the contacts and the bookmarks away from the main thread; what is found
    // replaces the lists when it arrives (and the favicons follow the bookmarks).
    virtual void readOtherData(bool /*addressBook*/, bool /*bookmarks*/) { }
    virtual void readCalendarEvents() { }
    // The once-a-day read: brings the calendar window up only when an event falls today.
    virtual void dailyCalendarCheck() { readCalendarEvents(); }
    virtual void startStocksSurvey() { }
    // Starts reading "ApplicationsUse.krvdata" into the lists (second start-up stage).
    virtual void loadApplicationsUse() { }
    virtual void updateListOfAppsUsed() { }
    virtual void saveApplicationsUse() { }

    // The manager.
    virtual bool isMainAppLaunched() { return false; }
    virtual void launchMainApp() { }

    // The quit confirmation; true when the user chose to quit. The default shows the alert.
    virtual bool confirmQuit();
};
