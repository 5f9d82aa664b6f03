#include "AccessWindowController.h"
#include "AddressBookReader.h"
#include "AgentAccess.h"
#include "AgentCalendar.h"
#include "AgentMenus.h"
#include "AgentOtherData.h"
#include "AgentReminders.h"
#include "AgentScanning.h"
#include "AgentStocks.h"
#include "AgentToDo.h"
#include "ApplicationUseRecorder.h"
#include "DaemonActivationStep.h"
#include "DaemonController.h"
#include "DaemonHooks.h"
#include "FaviconUpdater.h"
#include "GlobalShortcutsBus.h"
#include "ItemCell.h"
#include "KorvaleLog.h"
#include "MainWindow.h"
#include "OtherDataBus.h"
#include "PortalShortcutActivation.h"
#include "QOR_StringUtils.h"
#include "ReminderWindow.h"
#include "SaveFailureNotice.h"
#include "SelectionPreview.h"
#include "SharedPreferences.h"
#include "ToDoWindow.h"
#include "WindowFocus.h"
#include "platform/DisplayAvailability.h"
#include "platform/KeyboardGrab.h"
#include "platform/NotificationCenter.h"
#include "platform/QOR_AppUtils.h"
#include "platform/SessionInstance.h"
#include "platform/SessionPrograms.h"
#include "platform/TerminationSignals.h"
#include "platform/WaylandToplevels.h"
#include "platform/Workspace.h"

#include <QApplication>
#include <QPointer>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <malloc.h>

namespace {

// The pieces built so far behind the controller's hooks; the rest keep their defaults.
class AgentHooks final : public DaemonHooks
{
public:
    explicit AgentHooks(DaemonActivationStep &activation)
        : mActivation(activation)
    {
    }

    void showKeysDetectionWindow() override
    {
        if (!mActivation.monitor().isKeyDetectionWindowVisible())
            mActivation.monitor().showKeyDetectionWindow();
    }
    void closeKeysDetectionWindow() override
    {
        emit mActivation.monitor().keyDetectionCloseRequested();
    }
    void rebuildItemsWithShortcuts() override
    {
        if (DaemonController *controller = DaemonController::sharedInstance()) {
            mActivation.monitor().itemShortcuts().updateListOfItemsWithShortcuts(
                controller->lists().mListOfFiles, controller->lists().mListOfApplications);
        }
        if (mGlobalShortcuts)
            mGlobalShortcuts->refresh();
    }
    void attachGlobalShortcuts(PortalShortcutActivation *shortcuts)
    {
        mGlobalShortcuts = shortcuts;
    }

    // The manager is installed beside the agent.
    static QString mainAppPath()
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/korvale-manager");
    }
    // Whichever manager owns its name on this session's bus is the one that hears the agent.
    bool isMainAppLaunched() override
    {
        return SessionPrograms::session().isRunning(SessionProgram::manager());
    }
    void attachScanning(std::unique_ptr<AgentScanning> scanning)
    {
        mScanning = std::move(scanning);
    }
    AgentScanning &scanning() { return *mScanning; }
    void startApplicationScan() override { mScanning->startApplicationScan(); }
    void startDocumentScan() override { mScanning->startDocumentScan(); }
    void rescanApplications() override { mScanning->rescanApplications(); }
    void rescanFolders() override { mScanning->rescanFolders(); }

    void launchMainApp() override
    {
        if (!QProcess::startDetached(mainAppPath(), {}))
            KorvaleLog::line(QStringLiteral("Unable launching %1").arg(mainAppPath()));
    }

    void attachAccess(AgentAccess *access) { mAccess = access; }
    void rerunSearch() override
    {
        if (mAccess)
            mAccess->rerunSearch();
    }
    void reloadProtectedNotes() override
    {
        if (mAccess)
            mAccess->reloadProtectedNotes();
    }
    void hideScanningPanel() override
    {
        if (mAccess)
            mAccess->window().hideScanningPanel();
    }
    void closeAccessWindow() override
    {
        if (mAccess)
            mAccess->closeAccessWindow();
    }
    QString accessWindowFrame() override
    {
        return mAccess ? mAccess->window().accessWindowFrame() : QString();
    }
    void hideThisApplication() override
    {
        if (mAccess)
            mAccess->window().hideAgent();
    }

    void attachOtherData(AgentOtherData *otherData) { mOtherData = otherData; }
    void attachApplicationUse(ApplicationUseRecorder *recorder) { mApplicationUse = recorder; }
    void loadApplicationsUse() override
    {
        if (mApplicationUse)
            mApplicationUse->loadApplicationsUse();
    }
    void updateListOfAppsUsed() override
    {
        if (mApplicationUse)
            mApplicationUse->updateListOfAppsUsed();
    }
    void saveApplicationsUse() override
    {
        if (mApplicationUse)
            mApplicationUse->saveApplicationsUse();
    }
    void readOtherData(bool addressBook, bool bookmarks) override
    {
        mOtherData->readOtherData(addressBook, bookmarks);
    }
    void readCalendarEvents() override { mOtherData->readCalendarEvents(); }

    void attachToDo(AgentToDo *toDo) { mToDo = toDo; }
    void attachReminders(AgentReminders *reminders, AgentCalendar *calendar)
    {
        mReminders = reminders;
        mCalendar = calendar;
    }
    void refreshReminderDisplay() override
    {
        if (mReminders)
            mReminders->refreshReminderDisplay();
    }
    void dailyCalendarCheck() override
    {
        if (mCalendar)
            mCalendar->readCalendarEvents(true);
    }
    void refreshToDoDisplay() override
    {
        if (mToDo)
            mToDo->updateToDoList();
    }

    void attachStocks(AgentStocks *stocks) { mStocks = stocks; }
    void startStocksSurvey() override
    {
        if (mStocks)
            mStocks->surveyStocks();
    }

    void attachMenus(AgentMenus *menus) { mMenus = menus; }
    // Nothing built ahead: every way of opening the menu builds it afresh, with the clipboard and
    // the volumes as they are then (1.8 ms), so a menu built by the periodic check would only
    // read the volumes and the files for nothing.
    void buildMenuBarMenu() override { }
    void discardMenuBarMenu() override
    {
        if (mMenus)
            mMenus->discardMenubarMenu();
    }

private:
    DaemonActivationStep &mActivation;
    PortalShortcutActivation *mGlobalShortcuts = nullptr;
    std::unique_ptr<AgentScanning> mScanning;
    AgentAccess *mAccess = nullptr;
    AgentMenus *mMenus = nullptr;
    AgentOtherData *mOtherData = nullptr;
    ApplicationUseRecorder *mApplicationUse = nullptr;
    AgentToDo *mToDo = nullptr;
    AgentReminders *mReminders = nullptr;
    AgentCalendar *mCalendar = nullptr;
    AgentStocks *mStocks = nullptr;
};

// Everything the agent is made of, from the settings' first reading to the end of the event loop;
// gone when this returns.
int runAgent(SessionInstance &instance)
{
    // Written before the controller reads its settings, so the first start answers the gesture.
    storeFirstRunActivationDefaults(SharedPreferences::standard());

    auto activation = std::make_shared<DaemonActivationStep>(
        ActivationPlatform::create(),
        DisplayAvailability::isWaylandSession() ? KeyboardDevicesChoice::forThisSession()
                                                : nullptr);
    DaemonController::Environment environment;
    environment.notifications = NotificationCenter::createSessionBusCenter();
    environment.activation = activation;
    auto hooks = std::make_shared<AgentHooks>(*activation);
    environment.hooks = hooks;
    DaemonController controller(std::move(environment));
    hooks->attachScanning(std::make_unique<AgentScanning>(controller));
    AgentOtherData otherData(controller, OtherDataReaders::standardEnvironment());
    SelectionPreview::setContactPictureLookup(&AddressBookReader::pictureForUid);
    hooks->attachOtherData(&otherData);
    OtherDataBus otherDataBus;
    if (!otherDataBus.publish())
        KorvaleLog::line(
            QStringLiteral("The manager cannot ask the agent on the session bus which address "
                           "books and calendars it read"));
    const std::unique_ptr<Workspace> useWorkspace = Workspace::createLinux();
    ApplicationUseRecorder applicationUse(controller, *useWorkspace);
    hooks->attachApplicationUse(&applicationUse);
    FaviconUpdater &favicons = otherData.readers().faviconUpdater();
    controller.backgroundWork().add(
        {QStringLiteral("The favicon update"), [&favicons] { favicons.requestStop(); },
         [&favicons](int ms) { return favicons.waitUntilStopped(ms); }});
    // Shared: a run's end queued before the quit may still be delivered while the agent's parts
    // are destroyed.
    const auto faviconRuns = std::make_shared<int>(0);
    QObject::connect(&favicons, &FaviconUpdater::finished, &controller,
                     [faviconRuns] { ++*faviconRuns; });
    activation->attach(controller);

    AgentAccess::Environment accessEnvironment;
    ActivationMonitor &monitor = activation->monitor();
    accessEnvironment.optionKeyDown = [&monitor] { return monitor.optionKeyPressed(); };
    KeyboardGrab::Creation grab = KeyboardGrab::createX11();
    if (!grab.grab)
        KorvaleLog::line(
            QStringLiteral("Keys typed before the access window appears may be lost: %1")
                .arg(grab.reason));
    accessEnvironment.keyboardGrab = std::move(grab.grab);
    AgentAccess access(controller, std::move(accessEnvironment));
    hooks->attachAccess(&access);
    QObject::connect(&otherData, &AgentOtherData::faviconsChanged, &access,
                     &AgentAccess::faviconsChanged);
    AgentStocks stocks(controller);
    hooks->attachStocks(&stocks);
    SelectionPreview::setStockRecordLookup(
        [&stocks](const QString &title) { return stocks.entry(title); });
    QObject::connect(&access.window(), &AccessWindowController::stockSelected, &stocks,
                     &AgentStocks::surveySelected);
    // The preview of a selected entry shows the figures its pass stored.
    QObject::connect(&stocks, &AgentStocks::stocksReplaced, &access, [&access] {
        if (access.isWindowVisible())
            access.window().selectList();
    });
    AgentMenus menus(controller, access, AgentMenus::Environment());
    hooks->attachMenus(&menus);
    QObject::connect(&access, &AgentAccess::menuBarMenuRequested, &menus,
                     &AgentMenus::popUpMenuBarMenu);
    AgentToDo toDo(controller);
    hooks->attachToDo(&toDo);
    access.window().setToDoWindowVisible([&toDo] { return toDo.isWindowVisible(); });
    AgentReminders reminders(controller);
    AgentCalendar calendar(
        controller,
        [&otherData](std::function<void()> adopted) {
            otherData.readCalendarEvents(std::move(adopted));
        },
        [&reminders] { reminders.showReminderList(); });
    hooks->attachReminders(&reminders, &calendar);
    QObject::connect(&access.window(), &AccessWindowController::actionRequested, &toDo,
                     [&toDo, &reminders, &calendar](AccessMenus::Entry entry) {
                         switch (entry) {
                         case AccessMenus::Entry::ShowToDo:
                             toDo.showToDoList();
                             break;
                         case AccessMenus::Entry::ShowReminder:
                             reminders.showReminderList();
                             break;
                         case AccessMenus::Entry::ShowCalendar:
                             calendar.showCalendarWindow();
                             break;
                         default:
                             break;
                         }
                     });
    QObject::connect(&access.window(), &AccessWindowController::windowVisibilityChanged, &reminders,
                     [&access, &reminders](bool visible) {
                         if (!visible) {
                             reminders.accessWindowClosed();
                             return;
                         }
                         if (QWidget *window = access.window().window())
                             reminders.accessWindowOpened(window->frameGeometry());
                         if (QWidget *window = access.window().window())
                             WindowFocus::activate(window);
                     });
    DaemonFlags &flags = controller.flags();
    monitor.setAgentQueries({[&flags] { return flags.mWindowVisible; },
                             [&access] { return access.isWindowKey(); },
                             [&flags] { return flags.mMainAppLaunched; }});
    QObject::connect(&monitor, &ActivationMonitor::openAccessWindowRequested, &access,
                     &AgentAccess::openAccessWindow);
    QObject::connect(&monitor, &ActivationMonitor::revealCursorRequested, &access,
                     &AgentAccess::highlightCursor);
    QObject::connect(&monitor, &ActivationMonitor::selectSearchTextRequested, &access,
                     &AgentAccess::selectSearchText);
    QObject::connect(&monitor, &ActivationMonitor::itemShortcutTriggered, &access,
                     &AgentAccess::openItemFromShortcut);
    QObject::connect(&monitor, &ActivationMonitor::menuBarMenuRequested, &menus,
                     &AgentMenus::popUpMenuBarMenu);

    // Where the agent cannot watch the keyboard, the desktop watches the gestures' keys for it
    // (docs/keyboard.md); a press goes the way the same gesture goes on X11.
    std::unique_ptr<GlobalShortcuts> globalShortcuts;
    std::unique_ptr<PortalShortcutActivation> portal;
    std::unique_ptr<GlobalShortcutsBus> portalBus;
    if (DisplayAvailability::isWaylandSession()) {
        // The native windows' list follows the compositor from now on, for the answers' rows.
        WaylandToplevels::session();
        // The agent's desktop entry is named after its bus name (docs/platform.md).
        globalShortcuts = GlobalShortcuts::createPortal(SessionProgram::daemon().service);
        portal = std::make_unique<PortalShortcutActivation>(
            *globalShortcuts,
            PortalShortcutActivation::Sources{[&monitor] { return monitor.settings(); },
                                              &monitor.itemShortcuts(),
                                              [&access] { return access.isWindowVisible(); }});
        using P = PortalShortcutActivation;
        using M = ActivationMonitor;
        QObject::connect(portal.get(), &P::openAccessWindowRequested, &monitor,
                         &M::openAccessWindowRequested);
        QObject::connect(portal.get(), &P::closeAccessWindowRequested, &monitor,
                         &M::closeAccessWindowRequested);
        QObject::connect(portal.get(), &P::menuBarMenuRequested, &monitor,
                         &M::menuBarMenuRequested);
        QObject::connect(portal.get(), &P::itemShortcutTriggered, &monitor,
                         &M::itemShortcutTriggered);
        QObject::connect(&controller, &DaemonController::settingsRead, portal.get(), &P::refresh);
        hooks->attachGlobalShortcuts(portal.get());
        portalBus = std::make_unique<GlobalShortcutsBus>(*portal);
        if (!portalBus->publish())
            KorvaleLog::line(QStringLiteral("The manager cannot show the desktop's shortcuts"));
    }

    int activations = 0;
    QObject::connect(&instance, &SessionInstance::activationRequested, &controller,
                     [&controller, &activations] {
                         // A second start: the user or the manager wants the agent; take the
                         // settings and data as they are now.
                         ++activations;
                         QTimer::singleShot(10, &controller, [&controller] {
                             controller.readMainSettings();
                             controller.readData();
                         });
                     });
    instance.setStatusProvider([&controller, &activations, &hooks, &stocks, &applicationUse,
                                faviconRuns] {
        QVariantMap status = controller.settings().toMap();
        status.insert(QStringLiteral("pid"), qint64(QCoreApplication::applicationPid()));
        status.insert(QStringLiteral("settingsReadCount"), controller.settingsReadCount());
        status.insert(QStringLiteral("dataReadCount"), controller.dataReadCount());
        status.insert(QStringLiteral("activationCount"), activations);
        status.insert(QStringLiteral("timerRunning"), controller.isTimerRunning());
        status.insert(QStringLiteral("timerCounter"), qint64(controller.schedule().mTimerCounter));
        status.insert(QStringLiteral("mainAppLaunched"), hooks->isMainAppLaunched());
        status.insert(QStringLiteral("stockSurvey"), stocks.status());
        status.insert(QStringLiteral("faviconRuns"), *faviconRuns);
        status.insert(QStringLiteral("applicationUseSamples"), applicationUse.samplesAsked());
        status.insert(QStringLiteral("applicationUseSaves"), applicationUse.savesWritten());
        status.insert(QStringLiteral("documents"), hooks->scanning().documents().status());
        return status;
    });

    // The windows' frames are saved a moment after each move; one moved just before the end
    // is saved with the rest.
    QObject::connect(&controller, &DaemonController::terminating, &access,
                     [&access, &toDo, &reminders] {
                         if (MainWindow *window = access.window().builtWindow())
                             window->savePendingFrame();
                         if (ToDoWindow *window = toDo.builtWindow())
                             window->savePendingFrame();
                         if (ReminderWindow *window = reminders.builtReminderWindow())
                             window->savePendingFrame();
                     });

    // Logging out ends the agent as its own Quit does: application use is saved first.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &controller,
                     [&controller] { controller.terminateDelayed(); });

    controller.awakeFromNib();
    QTimer::singleShot(0, &controller,
                       [&controller] { controller.applicationDidFinishLaunching(); });
    const int status = QApplication::exec();
    // The lookup reads the stocks, which go with this function.
    SelectionPreview::setStockRecordLookup({});

    // However the loop ended, what must be saved is saved and the threads are stopped before
    // anything they use goes.
    controller.applicationWillTerminate();
    if (!controller.backgroundWorkStopped()) {
        // A thread stuck in a read (a network file system that stopped answering) would still be
        // using what the teardown destroys; everything is saved, so leave without it.
        KorvaleLog::line(QStringLiteral("korvale-daemon ends without waiting for its threads"));
        std::fflush(stderr);
        std::_Exit(status);
    }
    // The parts go now, in the reverse order of their making (the windows before the controller
    // whose lists they show), while the application object is still there.
    return status;
}

// What is left once the parts are gone: objects whose deletion was deferred (menus, replies) and
// windows nobody owned. Widgets destroyed after the application object crash in Qt's teardown.
void destroyLeftoverWidgets()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QList<QPointer<QWidget>> windows;
    for (QWidget *window : QApplication::topLevelWidgets())
        windows << window;
    // Deleting one may delete others (windows whose parent it was).
    for (const QPointer<QWidget> &window : std::as_const(windows))
        delete window.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

int main(int argc, char **argv)
{
    // Before any thread: the agent's threads allocate little, and an arena of their own each
    // kept about 60 KB resident for nothing. Two are enough for the search threads.
    mallopt(M_ARENA_MAX, 2);
    if (const std::optional<QString> why = DisplayAvailability::problem()) {
        KorvaleLog::line(QStringLiteral("korvale-daemon cannot start: %1").arg(*why));
        return 1;
    }
    // On XWayland in a Wayland session: see docs/platform.md.
    DisplayAvailability::QtArguments qtArguments(argc, argv);
    QApplication app(qtArguments.argc(), qtArguments.argv());
    QApplication::setApplicationName(QStringLiteral("korvale-daemon"));
    QApplication::setOrganizationName(QStringLiteral("Korvale"));
    // The agent's desktop entry, named after its bus name (docs/platform.md).
    QApplication::setDesktopFileName(SessionProgram::daemon().service);
    // A background agent: its windows are tool windows, closing the last one ends nothing.
    QApplication::setQuitOnLastWindowClosed(false);
    // Every text shown is looked up by its key in the user's language.
    QOR_StringUtils::installTranslations();
    SaveFailureNotice::install();
    // Before any icon is asked of the theme (the tray's come first): Qt keeps what a lookup
    // found, so a fallback set later, when the access window is first built, came too late.
    ItemCell::useDesktopIconTheme();

    SessionInstance instance(SessionProgram::daemon().service);
    switch (instance.claim()) {
    case SessionInstance::Claim::HandedOver:
        if (!instance.why().isEmpty())
            KorvaleLog::line(
                QStringLiteral("korvale-daemon is already running; it did not answer: %1")
                    .arg(instance.why()));
        return 0;
    case SessionInstance::Claim::NoBus:
        KorvaleLog::line(QStringLiteral("No D-Bus session bus (%1); running without notifications")
                             .arg(instance.why()));
        break;
    case SessionInstance::Claim::Owned:
        break;
    }
    // An older version's login entry gets the name the desktop portal matches.
    QOR_AppUtils::renameOlderEntry(QCoreApplication::applicationFilePath());

    const int status = runAgent(instance);
    destroyLeftoverWidgets();
    return status;
}
