#pragma once

#include <QByteArray>
#include <QSet>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

class SharedPreferences;

// The agent's settings as read from the shared preferences. Values start at their defaults.
struct DaemonSettings {
    // Shortcut settings (read first, also on their own by readShortcutsSettings).
    int mShortCutsActivated = 0;
    int mShortCutsMenu = 0;
    int mShortCutsMenuRepetition = 0;
    int mShortCutsKeyPersonalValues = 0;
    QByteArray mShortCutsKeyPersonalValuesData; // empty when absent
    int mShortCutsMouseActivated = 0;
    int mShortCutsMouseMenu = 0;
    int mShortCutsMouseCommandKey = 0;
    int mShortCutsMouseOptionKey = 0;
    int mShortCutsMouseShiftKey = 0;
    // In a Wayland session: the keys read from the keyboards' devices (docs/keyboard.md).
    int mReadKeyboardDevices = 0;

    int mShowPackageContents = 0;
    int mShowInvisible = 0;
    int mCenterAccessWindow = 0;
    int mResetFilter = 1;
    int mPreferencesControlClickInMenuBar = 1;
    int mShowIconInPopupMenus = 1;
    int mShowKeysDetection = 0;
    int mPreferencesShowKeysDetectionAuto = 1;
    int mPriorityForApplications = 0;
    int mPriorityForFiles = 0;
    int mPriorityForBookmarks = 0;
    int mPriorityForAddresses = 0;
    int mPriorityForNotes = 0;
    int mRevealCursor = 0;
    int mOtherDataBookmarks = 0;
    int mOtherDataBookmarksFavicons = 0;
    int mOtherDataAddressBook = 0;
    int mOtherDataCalendarEvents = 0;
    QStringList mAppsFoldersList;
    bool mAppsFoldersListPresent = false;
    QVariantList mFilesList;
    bool mFilesListPresent = false;
    int mReminderAddToDoItems = 1;
    int mReminderAddCalendarEntries = 1;
    // Which applications are used and when (ApplicationUseRecorder); on unless switched off.
    int mRecordApplicationsUse = 1;
    QVariantList mLastItemsLaunched;
    int mFilesListRescan = 0;

    // Key name and value, for diagnostics and the agent's status on the bus.
    QVariantMap toMap() const;
};

// Reads the settings table with its rules for absent keys: the ShortCuts and OtherData keys and
// the lists read as 0 or empty; the display, priority and default-1 keys keep their current value;
// the two reminder keys read as 1. Integers follow SharedPreferences::integerOf; a value of the
// wrong type counts as absent and is logged once (again only after it was readable in between).
// This is the agent's one reader of its settings: the gestures take theirs from its result.
// Until the manager exists to ask, a new user's agent answers the double tap of Super (the
// Command key's place): stored once, when no activation setting was ever written.
void storeFirstRunActivationDefaults(SharedPreferences &prefs);

class DaemonSettingsReader
{
public:
    void readShortcutsSettings(const SharedPreferences &prefs, DaemonSettings &settings);
    // The keys after the shortcut ones, from "ShowPackageContents" down to "FilesListRescan".
    void readOtherSettings(const SharedPreferences &prefs, DaemonSettings &settings);

private:
    enum class WhenAbsent { Zero, Unchanged, One };
    struct IntegerKey {
        const char *name;
        int DaemonSettings::*field;
        WhenAbsent whenAbsent;
    };
    void readIntegers(const SharedPreferences &prefs, DaemonSettings &settings,
                      const IntegerKey *keys, std::size_t count);
    // The records (or strings) of a list key; entries of another type are left out.
    std::optional<QVariantList> readList(const SharedPreferences &prefs, const QString &key,
                                         QMetaType::Type entryType);
    void reportUnreadable(const QString &key, const QString &what);
    void markReadable(const QString &key) { mReported.remove(key); }

    QSet<QString> mReported;
};
