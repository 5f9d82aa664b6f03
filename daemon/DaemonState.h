#pragma once

#include "CommonKorvaleClass.h"
#include "ItemEditing.h"
#include "ListFile.h"
#include "ToDoItems.h"

#include <QStringList>
#include <QVariantList>

#include <atomic>

// The list files that the agent writes and other programs write too, as the agent last read or
// wrote them: its saves keep what the others saved meanwhile.
struct DaemonListFiles {
    ListFile mToDo{DataFileName::ToDo, {}, &ToDoItems::sort};
    ListFile mApplications{DataFileName::Applications, &ListMerge::byPath,
                           &ItemEditing::sortApplications};
    // Entries are found by their name, as the stock editor finds them.
    ListFile mStocksSurvey{DataFileName::StocksSurvey, &ListMerge::byTitle};
};

// The agent's in-memory lists, each element an item record (or a path). All start empty.
struct DaemonLists {
    DaemonListFiles mFiles;
    QVariantList mListOfApplications;
    QVariantList mListOfFilesInFolders;
    // Set once the agent's own index holds the documents: "Documents.krvdata" is then only
    // written, never read back.
    bool mFilesInFoldersIndexed = false;
    QVariantList mListOfFiles;
    QStringList mListOfFoldersForApplications;
    QVariantList mListOfNotes;
    QVariantList mListOfProtectedNotes;
    QVariantList mListOfClipboard;
    QVariantList mListOfToDo;
    QVariantList mListOfReminder;
    QVariantList mListOfAddressBook;
    QVariantList mListOfCalendarEvents;
    QVariantList mListOfBookMarks;
    QVariantList mListOfStocksSurvey;
    QVariantList mListOfFavicons;
    QVariantList mListOfApplicationsUse;
    QVariantList mListOfApplicationsOpened;
    QVariantList mLatestItems;
    QVariantList mLatestItemsFromPopupContents;
    QVariantList mListOfItemsWithShortcuts;
    QVariantList mListOfDisplayedItems;
};

// Next-due times and the last reload, in seconds since the reference date.
struct DaemonSchedule {
    double mLastReadData = 0;
    double mNextApplicationsUseTest = 0;
    // The next hourly save of application use; 0 saves at the first sample.
    double mNextApplicationsUseSaved = 0;
    double mNextShortCutsSettingsUpdate = 0;
    double mNextOtherSettingsUpdate = 0;
    double mNextMousePositionTest = 0;
    double mNextDay = 0;
    double mLastTimerExecution = 0;
    unsigned mTimerCounter = 0;
    double mLastTextEntry = 0;
    int mKeyMouseChanges = 0;
};

struct DaemonFlags {
    bool mMainAppLaunched = false;
    bool mNeedToScanFoldersContents = false;
    bool mScanningForApplications = false;
    bool mSearchThreadIsRunning = false;
    bool mWindowVisible = false;
    // Set by the keyboard thread, cleared by the timer.
    std::atomic<bool> mKorvaleDetected = false;
    bool mKorvaleDebugSpecialMode = false;
    // False once the menu-bar menu was discarded, until it is built again.
    bool mMenuBarMenuBuilt = false;
};
