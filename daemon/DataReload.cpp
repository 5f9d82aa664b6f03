#include "DataReload.h"

#include "CommonKorvaleClass.h"
#include "DaemonClock.h"
#include "DaemonHooks.h"
#include "DaemonSettings.h"
#include "DaemonState.h"
#include "DocumentFolderWalk.h"
#include "ReminderList.h"
#include "StocksSurveyImport.h"

#include <QFile>
#include <QFileInfo>

DataReload::DataReload(DaemonLists &lists, DaemonSchedule &schedule, const DaemonSettings &settings,
                       const DaemonClock &clock, DaemonHooks &hooks)
    : mLists(lists)
    , mSchedule(schedule)
    , mSettings(settings)
    , mClock(clock)
    , mHooks(hooks)
{
}

std::optional<double> DataReload::modificationDate(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    const QDateTime modified = info.lastModified();
    if (!modified.isValid())
        return std::nullopt;
    return DaemonClock::referenceSeconds(modified);
}

namespace {

// A file's time comes from the kernel's coarse clock, up to a tick behind the clock a reload
// reads: a save landing just after a reload began can carry a time just before it.
constexpr double TimestampSlack = 0.1;

bool readSince(const std::optional<double> &modified, double lastReadData)
{
    return modified && lastReadData - TimestampSlack > *modified;
}

} // namespace

bool DataReload::reloadIfChanged(const QString &fileName, QVariantList &list, double lastReadData)
{
    const std::optional<double> modified =
        modificationDate(CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(fileName));
    if (readSince(modified, lastReadData))
        return false;
    list = CommonKorvaleClass::readListInFile(fileName);
    return true;
}

bool DataReload::reloadIfChanged(ListFile &file, QVariantList &list, double lastReadData)
{
    const std::optional<double> modified = modificationDate(file.path());
    if (readSince(modified, lastReadData) && !file.hasUnsavedChange())
        return false;
    file.refresh(list);
    return true;
}

DataReload::Outcome DataReload::readData(bool searchThreadIsRunning)
{
    Outcome outcome;
    if (searchThreadIsRunning)
        return outcome;
    // Taken before the first file is read: a file changed while this reload runs is newer than
    // the time recorded below and is read again next time.
    const double startedAt = mClock.now();
    const double lastReadData = mSchedule.mLastReadData;

    reloadIfChanged(DataFileName::Notes, mLists.mListOfNotes, lastReadData);
    reloadIfChanged(DataFileName::Clipboard, mLists.mListOfClipboard, lastReadData);
    if (reloadIfChanged(mLists.mFiles.mToDo, mLists.mListOfToDo, lastReadData))
        mHooks.refreshToDoDisplay();

    mLists.mListOfReminder =
        ReminderList::build(mLists.mListOfToDo, mLists.mListOfCalendarEvents,
                            CommonKorvaleClass::readListInFile(DataFileName::Reminder),
                            mSettings.mReminderAddToDoItems != 0,
                            mSettings.mReminderAddCalendarEntries != 0, mClock.today());
    mHooks.refreshReminderDisplay();

    reloadApplications();
    if (!mLists.mFilesInFoldersIndexed
        && reloadIfChanged(DataFileName::Documents, mLists.mListOfFilesInFolders, lastReadData))
        DocumentFolderWalk::restoreNativePaths(mLists.mListOfFilesInFolders);

    // The contacts and bookmarks are read on the reader thread: the lists searched meanwhile are
    // the last ones read, or empty once their source is switched off.
    if (!mSettings.mOtherDataAddressBook)
        mLists.mListOfAddressBook.clear();
    if (!mSettings.mOtherDataBookmarks)
        mLists.mListOfBookMarks.clear();
    if (mSettings.mOtherDataAddressBook || mSettings.mOtherDataBookmarks)
        mHooks.readOtherData(mSettings.mOtherDataAddressBook != 0,
                             mSettings.mOtherDataBookmarks != 0);

    readStocks();
    mSchedule.mLastReadData = startedAt;
    outcome.reloaded = true;
    return outcome;
}

bool DataReload::reloadApplications()
{
    if (!reloadIfChanged(mLists.mFiles.mApplications, mLists.mListOfApplications,
                         mSchedule.mLastReadData))
        return false;
    if (!mLists.mListOfApplications.isEmpty())
        mHooks.rebuildItemsWithShortcuts();
    return true;
}

void DataReload::readStocks()
{
    const QVariantList stored = mLists.mFiles.mStocksSurvey.read();
    if (!stored.isEmpty())
        mLists.mListOfStocksSurvey = stored;

    if (StocksSurveyImport::mergeFile(mLists.mListOfStocksSurvey,
                                      CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
                                          DataFileName::StocksSurveyImport)))
        mLists.mFiles.mStocksSurvey.save(mLists.mListOfStocksSurvey);
}
