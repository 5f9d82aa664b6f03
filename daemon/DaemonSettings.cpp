#include "DaemonSettings.h"

#include "KorvaleLog.h"
#include "SharedPreferences.h"

#include <iterator>

namespace {
QString keyOf(const char *name)
{
    return QString::fromLatin1(name);
}
} // namespace

void DaemonSettingsReader::reportUnreadable(const QString &key, const QString &what)
{
    if (mReported.contains(key))
        return;
    mReported.insert(key);
    KorvaleLog::line(
        QStringLiteral("Preference \"%1\" does not hold %2; using the default").arg(key, what));
}

void DaemonSettingsReader::readIntegers(const SharedPreferences &prefs, DaemonSettings &settings,
                                        const IntegerKey *keys, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const IntegerKey &key = keys[i];
        const QString name = keyOf(key.name);
        std::optional<int> value = prefs.intValue(name);
        if (!value && prefs.contains(name))
            reportUnreadable(name, QStringLiteral("an integer"));
        else
            markReadable(name);
        if (value)
            settings.*key.field = *value;
        else if (key.whenAbsent == WhenAbsent::Zero)
            settings.*key.field = 0;
        else if (key.whenAbsent == WhenAbsent::One)
            settings.*key.field = 1;
    }
}

std::optional<QVariantList> DaemonSettingsReader::readList(const SharedPreferences &prefs,
                                                           const QString &key,
                                                           QMetaType::Type entryType)
{
    const std::optional<QVariantList> list = prefs.listValue(key);
    if (!list) {
        if (prefs.contains(key))
            reportUnreadable(key, QStringLiteral("a list"));
        else
            markReadable(key);
        return std::nullopt;
    }
    QVariantList kept;
    kept.reserve(list->size());
    for (const QVariant &entry : *list) {
        if (entry.typeId() == int(entryType))
            kept.append(entry);
    }
    if (kept.size() != list->size())
        reportUnreadable(key,
                         entryType == QMetaType::QVariantMap ? QStringLiteral("only records")
                                                             : QStringLiteral("only paths"));
    else
        markReadable(key);
    return kept;
}

void DaemonSettingsReader::readShortcutsSettings(const SharedPreferences &prefs,
                                                 DaemonSettings &settings)
{
    using S = DaemonSettings;
    static const IntegerKey keys[] = {
        {"ShortCutsActivated", &S::mShortCutsActivated, WhenAbsent::Zero},
        {"ShortCutsMenu", &S::mShortCutsMenu, WhenAbsent::Zero},
        {"ShortCutsMenuRepetition", &S::mShortCutsMenuRepetition, WhenAbsent::Zero},
        {"ShortCutsKeyPersonalValues", &S::mShortCutsKeyPersonalValues, WhenAbsent::Zero},
        {"ShortCutsMouseActivated", &S::mShortCutsMouseActivated, WhenAbsent::Zero},
        {"ShortCutsMouseMenu", &S::mShortCutsMouseMenu, WhenAbsent::Zero},
        {"ShortCutsMouseCommandKey", &S::mShortCutsMouseCommandKey, WhenAbsent::Zero},
        {"ShortCutsMouseOptionKey", &S::mShortCutsMouseOptionKey, WhenAbsent::Zero},
        {"ShortCutsMouseShiftKey", &S::mShortCutsMouseShiftKey, WhenAbsent::Zero},
        {"ReadKeyboardDevices", &S::mReadKeyboardDevices, WhenAbsent::Zero},
    };
    readIntegers(prefs, settings, keys, std::size(keys));

    const QString dataKey = QStringLiteral("ShortCutsKeyPersonalValuesData");
    const std::optional<QByteArray> data = prefs.dataValue(dataKey);
    if (data && data->size() != 16) {
        reportUnreadable(dataKey, QStringLiteral("a key map of 16 bytes"));
        settings.mShortCutsKeyPersonalValuesData.clear();
    } else if (!data && prefs.contains(dataKey)) {
        reportUnreadable(dataKey, QStringLiteral("a key map of 16 bytes"));
        settings.mShortCutsKeyPersonalValuesData.clear();
    } else {
        markReadable(dataKey);
        settings.mShortCutsKeyPersonalValuesData = data.value_or(QByteArray());
    }
}

void DaemonSettingsReader::readOtherSettings(const SharedPreferences &prefs,
                                             DaemonSettings &settings)
{
    using S = DaemonSettings;
    static const IntegerKey displayKeys[] = {
        {"ShowPackageContents", &S::mShowPackageContents, WhenAbsent::Unchanged},
        {"ShowInvisible", &S::mShowInvisible, WhenAbsent::Unchanged},
        {"CenterAccessWindow", &S::mCenterAccessWindow, WhenAbsent::Unchanged},
        {"ResetFilter", &S::mResetFilter, WhenAbsent::Unchanged},
        {"ControlClickInMenuBar", &S::mPreferencesControlClickInMenuBar, WhenAbsent::Unchanged},
        {"ShowIconInPopupMenus", &S::mShowIconInPopupMenus, WhenAbsent::Unchanged},
        {"ShowKeysDetection", &S::mShowKeysDetection, WhenAbsent::Unchanged},
        {"ShowKeysDetectionAuto", &S::mPreferencesShowKeysDetectionAuto, WhenAbsent::Unchanged},
        {"PriorityForApplications", &S::mPriorityForApplications, WhenAbsent::Unchanged},
        {"PriorityForFiles", &S::mPriorityForFiles, WhenAbsent::Unchanged},
        {"PriorityForBookmarks", &S::mPriorityForBookmarks, WhenAbsent::Unchanged},
        {"PriorityForAddresses", &S::mPriorityForAddresses, WhenAbsent::Unchanged},
        {"PriorityForNotes", &S::mPriorityForNotes, WhenAbsent::Unchanged},
        {"RevealCursor", &S::mRevealCursor, WhenAbsent::Unchanged},
        {"OtherDataBookmarks", &S::mOtherDataBookmarks, WhenAbsent::Zero},
        {"OtherDataBookmarksFavicons", &S::mOtherDataBookmarksFavicons, WhenAbsent::Zero},
        {"OtherDataAddressBook", &S::mOtherDataAddressBook, WhenAbsent::Zero},
        {"OtherDataCalendarEvents", &S::mOtherDataCalendarEvents, WhenAbsent::Zero},
    };
    readIntegers(prefs, settings, displayKeys, std::size(displayKeys));

    const std::optional<QVariantList> folders =
        readList(prefs, QStringLiteral("AppsFoldersList"), QMetaType::QString);
    settings.mAppsFoldersList.clear();
    for (const QVariant &folder : folders.value_or(QVariantList()))
        settings.mAppsFoldersList.append(folder.toString());
    settings.mAppsFoldersListPresent = folders.has_value();

    const std::optional<QVariantList> files =
        readList(prefs, QStringLiteral("FilesList"), QMetaType::QVariantMap);
    settings.mFilesList = files.value_or(QVariantList());
    settings.mFilesListPresent = files.has_value();

    static const IntegerKey reminderKeys[] = {
        {"ReminderAddToDoItems", &S::mReminderAddToDoItems, WhenAbsent::One},
        {"ReminderAddCalendarEntries", &S::mReminderAddCalendarEntries, WhenAbsent::One},
        {"RecordApplicationsUse", &S::mRecordApplicationsUse, WhenAbsent::One},
    };
    readIntegers(prefs, settings, reminderKeys, std::size(reminderKeys));

    settings.mLastItemsLaunched =
        readList(prefs, QStringLiteral("LastItemsLaunched"), QMetaType::QVariantMap)
            .value_or(QVariantList());

    static const IntegerKey rescanKey[] = {
        {"FilesListRescan", &S::mFilesListRescan, WhenAbsent::Zero},
    };
    readIntegers(prefs, settings, rescanKey, std::size(rescanKey));
}

QVariantMap DaemonSettings::toMap() const
{
    return {
        {QStringLiteral("ShortCutsActivated"), mShortCutsActivated},
        {QStringLiteral("ShortCutsMenu"), mShortCutsMenu},
        {QStringLiteral("ShortCutsMenuRepetition"), mShortCutsMenuRepetition},
        {QStringLiteral("ShortCutsKeyPersonalValues"), mShortCutsKeyPersonalValues},
        {QStringLiteral("ShortCutsMouseActivated"), mShortCutsMouseActivated},
        {QStringLiteral("ShortCutsMouseMenu"), mShortCutsMouseMenu},
        {QStringLiteral("ReadKeyboardDevices"), mReadKeyboardDevices},
        {QStringLiteral("ShowPackageContents"), mShowPackageContents},
        {QStringLiteral("ShowInvisible"), mShowInvisible},
        {QStringLiteral("CenterAccessWindow"), mCenterAccessWindow},
        {QStringLiteral("ResetFilter"), mResetFilter},
        {QStringLiteral("ControlClickInMenuBar"), mPreferencesControlClickInMenuBar},
        {QStringLiteral("ShowIconInPopupMenus"), mShowIconInPopupMenus},
        {QStringLiteral("ShowKeysDetection"), mShowKeysDetection},
        {QStringLiteral("ShowKeysDetectionAuto"), mPreferencesShowKeysDetectionAuto},
        {QStringLiteral("PriorityForApplications"), mPriorityForApplications},
        {QStringLiteral("PriorityForFiles"), mPriorityForFiles},
        {QStringLiteral("PriorityForBookmarks"), mPriorityForBookmarks},
        {QStringLiteral("PriorityForAddresses"), mPriorityForAddresses},
        {QStringLiteral("PriorityForNotes"), mPriorityForNotes},
        {QStringLiteral("RevealCursor"), mRevealCursor},
        {QStringLiteral("OtherDataBookmarks"), mOtherDataBookmarks},
        {QStringLiteral("OtherDataBookmarksFavicons"), mOtherDataBookmarksFavicons},
        {QStringLiteral("OtherDataAddressBook"), mOtherDataAddressBook},
        {QStringLiteral("OtherDataCalendarEvents"), mOtherDataCalendarEvents},
        {QStringLiteral("AppsFoldersList"), mAppsFoldersList},
        {QStringLiteral("FilesList"), mFilesList.size()},
        {QStringLiteral("ReminderAddToDoItems"), mReminderAddToDoItems},
        {QStringLiteral("ReminderAddCalendarEntries"), mReminderAddCalendarEntries},
        {QStringLiteral("RecordApplicationsUse"), mRecordApplicationsUse},
        {QStringLiteral("LastItemsLaunched"), mLastItemsLaunched.size()},
    };
}

void storeFirstRunActivationDefaults(SharedPreferences &prefs)
{
    if (prefs.contains(QStringLiteral("ShortCutsActivated")))
        return;
    prefs.setValue(QStringLiteral("ShortCutsActivated"), 1);
    if (!prefs.contains(QStringLiteral("ShortCutsMenu")))
        prefs.setValue(QStringLiteral("ShortCutsMenu"), 0);
    prefs.synchronize();
}
