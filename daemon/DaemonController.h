#pragma once

#include "BackgroundWork.h"
#include "DaemonSettings.h"
#include "DaemonState.h"
#include "PeriodicCheck.h"
#include "TickPace.h"

#include <QObject>

#include <functional>
#include <memory>

class ActivationStep;
class DaemonClock;
class DaemonHooks;
class DaemonNotificationHandler;
class NotificationCenter;
class SharedPreferences;

// The agent's one controller: owns every list, setting, due time and flag, brings the agent up
// in two stages, runs the activation timer, and delegates each piece of work to its own class.
class DaemonController : public QObject
{
    Q_OBJECT
public:
    // What the controller works with; everything not given gets the real one.
    struct Environment {
        SharedPreferences *preferences = nullptr;
        const DaemonClock *clock = nullptr;
        std::shared_ptr<DaemonHooks> hooks;
        std::shared_ptr<ActivationStep> activation;
        std::shared_ptr<NotificationCenter> notifications;
        QString applicationsFolder = PeriodicCheck::defaultApplicationsFolder();
        // Ends the program; tests replace it.
        std::function<void()> quitApplication;
    };

    static constexpr int TimerIntervalMs = 143; // 1/7 s
    // How long the quit waits, in all, for the work off the main thread to end.
    static constexpr int BackgroundStopMs = 2000;

    DaemonController();
    explicit DaemonController(Environment environment);
    ~DaemonController() override;

    static DaemonController *sharedInstance();

    // Start-up, first stage: lists, due times, windows, settings.
    void awakeFromNib();
    // Start-up, second stage: notifications, files, the timer and the keyboard thread.
    void applicationDidFinishLaunching();

    void readMainSettings();
    void readShortcutsSettings();
    void readData();
    // The application list as it stands now: reread first when the manager saved it since the
    // last reload. An application scan merges its result into this.
    const QVariantList &currentApplicationsList();
    // The periodic check: settings and data again, and a scan when a list grew old.
    void checkPrefsApplications();

    void receiveNotification(const QString &channel, const QString &object,
                             const QVariantMap &userInfo);
    void sendNotificationToBrowser(const QString &path);
    void openMainApp();

    void quitDaemon();
    void terminateDelayed();
    // Saves what must be saved and stops the work off the main thread; the windows go after.
    void applicationWillTerminate();
    // Every thread the agent runs besides the keyboard thread is added here, to be stopped
    // by the quit (BackgroundWork).
    BackgroundWork &backgroundWork() { return mBackgroundWork; }
    // False when some work was still running at the end of the quit's wait: the program must
    // then not destroy what that work uses.
    bool backgroundWorkStopped() const { return mBackgroundWorkStopped; }

    // One activation-timer tick; a tick of the quiet pace stands for several.
    void timerMethod(int ticks = 1);
    // A key, a button, a window or a message: the timer ticks 7 times a second again.
    void wakeTimer();
    bool isTimerSlow() const { return mPace.isSlow(); }

    const DaemonSettings &settings() const { return mSettings; }
    DaemonLists &lists() { return mLists; }
    DaemonSchedule &schedule() { return mSchedule; }
    DaemonFlags &flags() { return mFlags; }
    const DaemonClock &clock() const { return *mClock; }
    DaemonHooks &hooks() { return *mHooks; }
    NotificationCenter &notifications() { return *mNotifications; }
    SharedPreferences &preferences() { return *mPreferences; }
    bool isTimerRunning() const { return mPace.isActive(); }

    // How often each was done, for the agent's status on the bus and for tests.
    int settingsReadCount() const { return mSettingsReadCount; }
    int dataReadCount() const { return mDataReadCount; }

signals:
    void settingsRead();
    void dataRead();
    void timerTicked();
    // The agent is ending: what must outlive it is saved now, with the windows still there.
    void terminating();

private:
    // Which of the work counted in ticks fell due in the ticks just counted.
    struct CountedWork {
        bool calendar = false;
        bool stocks = false;
        bool folderLook = false;
    };
    CountedWork countTicks(int ticks);
    void schedulePeriodicWork(double now, bool folderLook);

    Environment mEnvironment;
    std::unique_ptr<DaemonClock> mOwnedClock;
    std::unique_ptr<SharedPreferences> mOwnedPreferences;
    SharedPreferences *mPreferences = nullptr;
    const DaemonClock *mClock = nullptr;
    std::shared_ptr<DaemonHooks> mHooks;
    std::shared_ptr<ActivationStep> mActivation;
    std::shared_ptr<NotificationCenter> mNotifications;
    std::unique_ptr<DaemonNotificationHandler> mNotificationHandler;

    DaemonSettings mSettings;
    DaemonSettingsReader mSettingsReader;
    DaemonLists mLists;
    DaemonSchedule mSchedule;
    DaemonFlags mFlags;
    PeriodicCheck mPeriodicCheck;
    // 7 ticks a second while anything can happen; while the agent is quiet (nothing held, no
    // window up) one wake per 5 s, until a key, a button or a window wakes it.
    TickPace mPace;
    BackgroundWork mBackgroundWork;
    bool mBackgroundWorkStopped = true;
    bool mTerminated = false;
    int mSettingsReadCount = 0;
    int mDataReadCount = 0;
};
