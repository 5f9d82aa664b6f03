#include "DaemonController.h"

#include "ActivationStep.h"
#include "ApplicationUse.h"
#include "ApplicationsFolders.h"
#include "CommonKorvaleClass.h"
#include "DaemonClock.h"
#include "DaemonHooks.h"
#include "DaemonNotificationHandler.h"
#include "DataReload.h"
#include "FilesList.h"
#include "ItemRecord.h"
#include "KorvaleLog.h"
#include "OtherDataCache.h"
#include "SharedPreferences.h"
#include "platform/NotificationCenter.h"

#include <QCoreApplication>
#include <QTimer>

namespace {
DaemonController *gSharedInstance = nullptr;
}

DaemonController::DaemonController()
    : DaemonController(Environment())
{
}

DaemonController::DaemonController(Environment environment)
    : mEnvironment(std::move(environment))
    , mPeriodicCheck(mEnvironment.applicationsFolder)
    , mPace(TickPace::Timing{TimerIntervalMs, 35, 7}, [this](int ticks) { timerMethod(ticks); })
{
    Q_ASSERT(!gSharedInstance);
    gSharedInstance = this;

    if (mEnvironment.preferences) {
        mPreferences = mEnvironment.preferences;
    } else {
        mOwnedPreferences = std::make_unique<SharedPreferences>();
        mPreferences = mOwnedPreferences.get();
    }
    if (mEnvironment.clock) {
        mClock = mEnvironment.clock;
    } else {
        mOwnedClock = std::make_unique<DaemonClock>();
        mClock = mOwnedClock.get();
    }
    mHooks = mEnvironment.hooks ? mEnvironment.hooks : std::make_shared<DaemonHooks>();
    mActivation =
        mEnvironment.activation ? mEnvironment.activation : std::make_shared<ActivationStep>();
    mNotifications = mEnvironment.notifications
        ? mEnvironment.notifications
        : std::shared_ptr<NotificationCenter>(NotificationCenter::createLocalCenter());
    if (!mEnvironment.quitApplication)
        mEnvironment.quitApplication = [] { QCoreApplication::exit(0); };
    mNotificationHandler = std::make_unique<DaemonNotificationHandler>(*this);

    connect(mNotifications.get(), &NotificationCenter::notificationReceived, this,
            &DaemonController::receiveNotification);
}

DaemonController::~DaemonController()
{
    mNotifications->disconnect(this);
    gSharedInstance = nullptr;
}

DaemonController *DaemonController::sharedInstance()
{
    return gSharedInstance;
}

void DaemonController::awakeFromNib()
{
    const double start = mClock->now();
    mSchedule = DaemonSchedule();
    mSchedule.mNextApplicationsUseTest = start + ApplicationUse::samplePeriodSeconds();
    mSchedule.mNextShortCutsSettingsUpdate = start + 2;
    mSchedule.mNextOtherSettingsUpdate = start + 2;
    mSchedule.mNextMousePositionTest = start + 5;
    mSchedule.mNextDay = 0;
    mFlags.mNeedToScanFoldersContents = false;
    mFlags.mScanningForApplications = false;
    mFlags.mSearchThreadIsRunning = false;
    mFlags.mKorvaleDetected = false;
    mLists = DaemonLists();

    // Contacts and events of the last run, until the readers produce fresh ones.
    mLists.mListOfAddressBook = OtherDataCache::load(*mPreferences, DataFileName::AddressBookItems);
    mLists.mListOfCalendarEvents = OtherDataCache::load(*mPreferences, DataFileName::CalendarItems);

    mHooks->buildWindowsAndMenus();
    readMainSettings();
}

void DaemonController::applicationDidFinishLaunching()
{
    // Without a bus the program already said so once; nothing more to report per channel.
    for (const QString &channel : {NotificationChannel::Daemon, NotificationChannel::Browser}) {
        if (!mNotifications->observe(channel) && mNotifications->isAvailable())
            KorvaleLog::line(QStringLiteral("Unable observing notification %1: %2")
                                 .arg(channel, mNotifications->why()));
    }
    mFlags.mMainAppLaunched = mHooks->isMainAppLaunched();

    // Watching the gestures comes first: the keyboard thread starts and the first tick runs at
    // once rather than a timer period later. Nothing in a first tick reads the lists below (the
    // use sample, the settings check and the daily check are all due later), so they are read
    // after it; the use record is read on a worker of its own.
    mSchedule.mLastTimerExecution = mClock->now();
    mPace.start();
    mActivation->start();
    timerMethod();

    mHooks->loadApplicationsUse();
    mLists.mListOfFavicons = CommonKorvaleClass::readListInFile(DataFileName::URLFavicons);
    readData();
    if (mSettings.mShowKeysDetection)
        mHooks->showKeysDetectionWindow();
}

void DaemonController::readShortcutsSettings()
{
    mSettingsReader.readShortcutsSettings(*mPreferences, mSettings);
    mActivation->applySettings(mSettings);
    mPreferences->dropCache();
}

void DaemonController::readMainSettings()
{
    mSettingsReader.readShortcutsSettings(*mPreferences, mSettings);
    mSettingsReader.readOtherSettings(*mPreferences, mSettings);
    // The gestures also depend on a few of the other settings ("RevealCursor" and the like).
    mActivation->applySettings(mSettings);

    // Absent, the folders are the desktop's; a list the user emptied lists no application.
    mLists.mListOfFoldersForApplications = mSettings.mAppsFoldersListPresent
        ? mSettings.mAppsFoldersList
        : ApplicationsFolders::defaultApplicationsFolders();
    // Absent, the files are those the manager would store at its first start.
    mLists.mListOfFiles =
        mSettings.mFilesListPresent ? mSettings.mFilesList : FilesList::defaultFilesList();
    if (mSettings.mFilesListPresent)
        mHooks->rebuildItemsWithShortcuts();
    mLists.mLatestItems = mSettings.mLastItemsLaunched;
    mLists.mLatestItemsFromPopupContents.clear();
    for (const QVariant &item : std::as_const(mLists.mLatestItems)) {
        if (item.toMap().contains(ItemRecord::KeyMadeFromMenu))
            mLists.mLatestItemsFromPopupContents.append(item);
    }

    if (mSettings.mFilesListRescan != 0) {
        QTimer::singleShot(100, this, [this] { mHooks->rescanFolders(); });
        mSettings.mFilesListRescan = 0;
        mPreferences->setValue(QStringLiteral("FilesListRescan"), 0);
        mPreferences->synchronize();
    }
    mPreferences->dropCache();
    ++mSettingsReadCount;
    emit settingsRead();
}

void DaemonController::readData()
{
    DataReload reload(mLists, mSchedule, mSettings, *mClock, *mHooks);
    const DataReload::Outcome outcome = reload.readData(mFlags.mSearchThreadIsRunning);
    if (!outcome.reloaded)
        return;
    ++mDataReadCount;
    emit dataRead();
}

const QVariantList &DaemonController::currentApplicationsList()
{
    DataReload(mLists, mSchedule, mSettings, *mClock, *mHooks).reloadApplications();
    return mLists.mListOfApplications;
}

void DaemonController::checkPrefsApplications()
{
    if (!mFlags.mMenuBarMenuBuilt) {
        mHooks->buildMenuBarMenu();
        mFlags.mMenuBarMenuBuilt = true;
    }
    mFlags.mMainAppLaunched = mHooks->isMainAppLaunched();
    if (mFlags.mMainAppLaunched)
        mSchedule.mNextShortCutsSettingsUpdate = mClock->now() + 2.0;

    readMainSettings();
    readData();

    if (mFlags.mScanningForApplications)
        return;
    switch (mPeriodicCheck.chooseScan(mFlags.mNeedToScanFoldersContents, mClock->now())) {
    case PeriodicCheck::Scan::Documents:
        mHooks->startDocumentScan();
        break;
    case PeriodicCheck::Scan::Applications:
        mHooks->startApplicationScan();
        break;
    case PeriodicCheck::Scan::None:
        break;
    }
}

void DaemonController::receiveNotification(const QString &channel, const QString &object,
                                           const QVariantMap &userInfo)
{
    // What another program asks may open a window or change the settings the tick follows.
    wakeTimer();
    mNotificationHandler->receiveNotification(channel, object, userInfo);
}

void DaemonController::sendNotificationToBrowser(const QString &path)
{
    mNotifications->post(NotificationChannel::Browser, QStringLiteral("PathToBrowser"),
                         {{QStringLiteral("Path"), path},
                          {QStringLiteral("WindowFrame"), mHooks->accessWindowFrame()}});
}

void DaemonController::openMainApp()
{
    QTimer::singleShot(100, this, [this] { mHooks->launchMainApp(); });
    mHooks->closeAccessWindow();
}

void DaemonController::quitDaemon()
{
    if (mHooks->confirmQuit())
        QTimer::singleShot(250, this, [this] { terminateDelayed(); });
}

void DaemonController::terminateDelayed()
{
    if (mTerminated)
        return;
    applicationWillTerminate();
    mEnvironment.quitApplication();
}

void DaemonController::applicationWillTerminate()
{
    if (mTerminated)
        return;
    mTerminated = true;
    mPace.stop();
    mActivation->waitForInput(false);
    mActivation->stop();
    // Told first, so the threads wind down while the saves run.
    mBackgroundWork.requestStop();
    mHooks->saveApplicationsUse();
    emit terminating();
    mNotifications->stopObservingAll();
    mBackgroundWorkStopped = mBackgroundWork.waitUntilStopped(BackgroundStopMs);
}

void DaemonController::timerMethod(int ticks)
{
    const CountedWork due = countTicks(ticks);
    double now = mClock->now();
    mSchedule.mLastTimerExecution = now;
    mSchedule.mLastTextEntry += ticks;

    // Counted in local days, so that the check follows the user's midnight; a clock moved back
    // (a time zone to the west) waits for a day not checked yet.
    if (due.calendar && mSettings.mOtherDataCalendarEvents) {
        const double today = double(DaemonClock::dayNumber(mClock->today()));
        if (mSchedule.mNextDay <= today) {
            mSchedule.mNextDay = today + 1;
            QTimer::singleShot(0, this, [this] { mHooks->dailyCalendarCheck(); });
        }
    }

    if (mActivation->observeInput(now)) {
        if (mSchedule.mKeyMouseChanges != 0 && now > mSchedule.mNextApplicationsUseTest) {
            mSchedule.mNextApplicationsUseTest = now + ApplicationUse::samplePeriodSeconds();
            QTimer::singleShot(0, this, [this] { mHooks->updateListOfAppsUsed(); });
        }
        const bool acted = mActivation->actOnInput(now);
        if (due.stocks && !mLists.mListOfStocksSurvey.isEmpty())
            mHooks->startStocksSurvey();
        if (!acted && !mFlags.mWindowVisible)
            schedulePeriodicWork(now, due.folderLook);
    }

    mSchedule.mLastTimerExecution = mClock->now();
    emit timerTicked();
    if (mPace.afterTick(!mFlags.mWindowVisible && mActivation->isQuiet()))
        mActivation->waitForInput(true);
}

void DaemonController::wakeTimer()
{
    if (mPace.wake())
        mActivation->waitForInput(false);
}

DaemonController::CountedWork DaemonController::countTicks(int ticks)
{
    CountedWork due;
    // One by one, so that a tick standing for many meets each multiple on its way.
    for (int i = 0; i < ticks; ++i) {
        const unsigned counter = ++mSchedule.mTimerCounter;
        due.calendar |= counter % 35 == 0;
        due.stocks |= counter % 6300 == 0;
        due.folderLook |= counter % PeriodicCheck::FolderLookTicks == 0;
    }
    return due;
}

void DaemonController::schedulePeriodicWork(double now, bool folderLook)
{
    if (now > mSchedule.mNextOtherSettingsUpdate) {
        mSchedule.mNextOtherSettingsUpdate = now + 60;
        QTimer::singleShot(0, this, [this] { checkPrefsApplications(); });
        return;
    }
    // A freshly installed or removed application shows in the folder's date: check soon.
    if (folderLook && mPeriodicCheck.folderChangedRecently(now))
        mSchedule.mNextOtherSettingsUpdate = now;
}
