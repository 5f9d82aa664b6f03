#include "AccessWindowController.h"
#include "AddressBookReader.h"
#include "AgentAccess.h"
#include "AgentCalendar.h"
#include "AgentMenus.h"
#include "AgentOtherData.h"
#include "AgentReminders.h"
#include "AgentScanning.h"
#include "AgentToDo.h"
#include "DaemonActivationStep.h"
#include "DaemonController.h"
#include "DaemonHooks.h"
#include "KorvaleLog.h"
#include "MainWindow.h"
#include "QOR_StringUtils.h"
#include "SelectionPreview.h"
#include "SharedPreferences.h"
#include "platform/DisplayAvailability.h"
#include "platform/KeyboardGrab.h"
#include "platform/NotificationCenter.h"
#include "platform/ProcessTable.h"
#include "platform/SessionInstance.h"
#include "platform/TerminationSignals.h"

#include <QApplication>
#include <QProcess>
#include <QTimer>

#include <algorithm>

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
    }

    // The manager is installed beside the agent.
    static QString mainAppPath()
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/korvale-manager");
    }
    bool isMainAppLaunched() override
    {
        const QString manager = mainAppPath();
        const QList<ProcessInfo> processes = ProcessTable::system().processes();
        return std::any_of(processes.cbegin(), processes.cend(),
                           [&manager](const ProcessInfo &p) { return p.executable == manager; });
    }
    void attachScanning(std::unique_ptr<AgentScanning> scanning)
    {
        mScanning = std::move(scanning);
    }
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

    void attachMenus(AgentMenus *menus) { mMenus = menus; }
    // Nothing built ahead: every way of opening the menu builds it afresh, with the clipboard and
    // the volumes as they are then (1.8 ms), so a menu built by the periodic check would only
    // read the volumes and the files for nothing.
    void buildMenuBarMenu() override { }
    void discardMenuBarMenu() override
    {
        if (mMenus)
            mMenus->clearMenubarMenu();
    }

private:
    DaemonActivationStep &mActivation;
    std::unique_ptr<AgentScanning> mScanning;
    AgentAccess *mAccess = nullptr;
    AgentMenus *mMenus = nullptr;
    AgentOtherData *mOtherData = nullptr;
    AgentToDo *mToDo = nullptr;
    AgentReminders *mReminders = nullptr;
    AgentCalendar *mCalendar = nullptr;
};

} // namespace

int main(int argc, char **argv)
{
    if (const std::optional<QString> why = DisplayAvailability::problem()) {
        KorvaleLog::line(QStringLiteral("korvale-daemon cannot start: %1").arg(*why));
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvale-daemon"));
    QApplication::setOrganizationName(QStringLiteral("Korvale"));
    // A background agent: its windows are tool windows, closing the last one ends nothing.
    QApplication::setQuitOnLastWindowClosed(false);
    // Every text shown is looked up by its key in the user's language.
    QOR_StringUtils::installTranslations();

    SessionInstance instance(QStringLiteral("org.korvale.Daemon"));
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

    // Written before the controller reads its settings, so the first start answers the gesture.
    storeFirstRunActivationDefaults(SharedPreferences::standard());

    auto activation = std::make_shared<DaemonActivationStep>(ActivationPlatform::create());
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
    AgentMenus menus(controller, access, AgentMenus::Environment());
    hooks->attachMenus(&menus);
    QObject::connect(&access, &AgentAccess::menuBarMenuRequested, &menus,
                     &AgentMenus::popUpMenuBarMenu);
    AgentToDo toDo(controller);
    hooks->attachToDo(&toDo);
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
                             window->activateWindow();
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
    instance.setStatusProvider([&controller, &activations] {
        QVariantMap status = controller.settings().toMap();
        status.insert(QStringLiteral("pid"), qint64(QCoreApplication::applicationPid()));
        status.insert(QStringLiteral("settingsReadCount"), controller.settingsReadCount());
        status.insert(QStringLiteral("dataReadCount"), controller.dataReadCount());
        status.insert(QStringLiteral("activationCount"), activations);
        status.insert(QStringLiteral("timerRunning"), controller.isTimerRunning());
        status.insert(QStringLiteral("timerCounter"), qint64(controller.schedule().mTimerCounter));
        return status;
    });

    // Logging out ends the agent as its own Quit does: application use is saved first.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &controller,
                     [&controller] { controller.terminateDelayed(); });

    controller.awakeFromNib();
    QTimer::singleShot(0, &controller,
                       [&controller] { controller.applicationDidFinishLaunching(); });
    return app.exec();
}
