#include "MainController.h"

#include "ActivityChartWindow.h"
#include "ActivityData.h"
#include "ActivityReportWindow.h"
#include "ApplicationNames.h"
#include "ApplicationScanner.h"
#include "ApplicationsFolders.h"
#include "ClipboardSection.h"
#include "ClipboardSectionView.h"
#include "CommonKorvaleClass.h"
#include "CornerActivationSheet.h"
#include "DaemonControl.h"
#include "FilesList.h"
#include "InfoViews.h"
#include "ItemEditing.h"
#include "ItemEditorSheet.h"
#include "ItemRecord.h"
#include "ItemRowDelegate.h"
#include "KeyActivationSheet.h"
#include "KeyMap.h"
#include "KeyboardDevicesPanel.h"
#include "ListMerge.h"
#include "ManagerWindow.h"
#include "NotesSection.h"
#include "PathListEditor.h"
#include "PreferencesSheet.h"
#include "QOR_DateUtils.h"
#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"
#include "ReminderSection.h"
#include "SectionViews.h"
#include "SharedPreferences.h"
#include "SheetRequestQueue.h"
#include "ShortcutCaptureSheet.h"
#include "ShortcutSectionView.h"
#include "StartupSheets.h"
#include "ToDoSection.h"
#include "WebSearch.h"
#include "WindowFocus.h"
#include "platform/DBusNotificationCenter.h"
#include "platform/DisplayAvailability.h"
#include "platform/KeyMapSource.h"
#include "platform/NotificationCenter.h"
#include "platform/SessionClipboard.h"
#include "platform/SessionPrograms.h"
#include "platform/Workspace.h"

#include <QApplication>
#include <QCheckBox>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

using namespace ItemRecord;

namespace {

MainController *theController = nullptr;

QString localized(const QString &key)
{
    return QOR_StringUtils::getLocalizedStringForKey(key);
}

const QString KeyAppsFolders = QStringLiteral("AppsFoldersList");
const QString KeyFilesList = QStringLiteral("FilesList");
constexpr int DocumentsPollMs = 1500;
const QString KeyDaemonActivated = QStringLiteral("DaemonActivated");
const QString KeyVersion = QStringLiteral("Version");
// The window reopens where the user left it; Qt keeps it on a screen that still exists.
const QString KeyWindowFrame = QStringLiteral("NSWindow Frame mainWindow");
const QString KeyContactsPaths = QStringLiteral("OtherDataContactsPaths");
const QString KeyCalendarPaths = QStringLiteral("OtherDataCalendarPaths");
const QString EditItemCommand = QStringLiteral("EditItem");

// A sheet of the shortcut section: it shows the stored section, and only OK changes it; Cancel
// leaves it as stored, and the sheet shows that again next time.
template <typename Sheet> bool runSectionSheet(Sheet *sheet, ShortcutSettings &settings)
{
    sheet->load(settings);
    if (sheet->exec() != QDialog::Accepted)
        return false;
    sheet->applyTo(settings);
    return true;
}

} // namespace

MainController::MainController(Environment environment, QObject *parent)
    : QObject(parent)
    , mEnvironment(std::move(environment))
{
    theController = this;
    // The sheets' pictures and the licence live in the library's resources.
    Q_INIT_RESOURCE(manager);
    if (!mEnvironment.preferences) {
        mOwnPreferences = std::make_unique<SharedPreferences>();
        mEnvironment.preferences = mOwnPreferences.get();
    }
    if (!mEnvironment.notifications) {
        mOwnNotifications = NotificationCenter::createSessionBusCenter();
        mEnvironment.notifications = mOwnNotifications.get();
    }
    if (mEnvironment.version.isEmpty())
        mEnvironment.version = QCoreApplication::applicationVersion();

    mWindow = std::make_unique<ManagerWindow>();
    DaemonControl::Environment daemon;
    daemon.daemonPath = mEnvironment.daemonPath;
    daemon.notifications = mEnvironment.notifications;
    daemon.programs = mEnvironment.programs;
    daemon.start = mEnvironment.startProgram;
    daemon.multipleDaemons = [this](const QString &folder) {
        if (!mEnvironment.interactive)
            return;
        QMessageBox alert(QMessageBox::Warning, localized(QStringLiteral("MultipleDaemonsTitle")),
                          localized(QStringLiteral("MultipleDaemonsText")).arg(folder),
                          QMessageBox::NoButton, mWindow.get());
        alert.addButton(localized(QStringLiteral("OKButton")), QMessageBox::AcceptRole);
        alert.exec();
        mWindow->raise();
    };
    mDaemon = std::make_unique<DaemonControl>(std::move(daemon));

    mScanner = std::make_unique<ApplicationScanner>();
    mScanner->setCurrentListSource([this] { return mListOfApplicationsFound; });
    connect(mScanner.get(), &ApplicationScanner::applicationsListChanged, this,
            &MainController::applicationsListChanged);
    connect(mScanner.get(), &ApplicationScanner::scanFinished, this, [this] {
        if (mRescanPending) {
            mRescanPending = false;
            rescanApplications();
        }
    });
    // Another program's request never reaches a sheet that is open: it waits for it to close.
    mRequests = std::make_unique<SheetRequestQueue>(
        [this](const SheetRequestQueue::Request &request) { handleRequest(request); });
    connect(mRequests.get(), &SheetRequestQueue::requestWaiting, this,
            &MainController::bringForwardForWaitingRequest);
    connect(mRequests.get(), &SheetRequestQueue::drained, this, [this] {
        if (QStatusBar *status = mWindow->findChild<QStatusBar *>()) {
            status->clearMessage();
            status->hide();
        }
    });
    connect(mEnvironment.notifications, &NotificationCenter::notificationReceived, this,
            &MainController::notificationReceived);
}

MainController::~MainController()
{
    if (mEnvironment.notifications)
        mEnvironment.notifications->stopObserving(NotificationChannel::Main);
    if (theController == this)
        theController = nullptr;
}

MainController *MainController::sharedInstance()
{
    return theController;
}

void MainController::buildSections()
{
    using S = ManagerWindow;
    auto *welcome = new WelcomeView;
    mWelcomeView = welcome;
    mWindow->setSectionView(S::Welcome, welcome);
    mWindow->setSectionView(S::QuickHelp, new QuickHelpView);
    mShortcutView = new ShortcutSectionView(
        mEnvironment.waylandSession.value_or(DisplayAvailability::isWaylandSession()));
    mWindow->setSectionView(S::ShortCut, mShortcutView);
    if (mShortcutView->showsWaylandNote())
        mShortcutView->addKeyboardDevicesPanel(new KeyboardDevicesPanel(
            *mEnvironment.preferences, *mEnvironment.notifications,
            mEnvironment.keyboardDevices.value_or(EvdevDeviceDiscovery())));
    connect(mShortcutView, &ShortcutSectionView::keyActivationToggled, this, [this](bool on) {
        mShortcutSettings.shortCutsActivated = on ? 1 : 0;
        shortCutsDidChange();
    });
    connect(mShortcutView, &ShortcutSectionView::cornerActivationToggled, this, [this](bool on) {
        mShortcutSettings.shortCutsMouseActivated = on ? 1 : 0;
        shortCutsDidChange();
    });
    connect(mShortcutView, &ShortcutSectionView::changeKeyRequested, this,
            &MainController::changeKeyActivationSettings);
    connect(mShortcutView, &ShortcutSectionView::changeCornerRequested, this,
            &MainController::changeMouseActivationSettings);
    mToDoSection = new ToDoSection({}, this);
    mWindow->setSectionView(S::ToDo, mToDoSection->view());
    mReminderSection =
        new ReminderSection(mEnvironment.preferences, mEnvironment.notifications, this);
    mWindow->setSectionView(S::Reminder, mReminderSection->view());
    mOtherDataView = new OtherDataView;
    mWindow->setSectionView(S::OtherData, mOtherDataView);
    connect(mOtherDataView, &OtherDataView::changed, this, [this] {
        const OtherDataView::Sources sources = mOtherDataView->sources();
        mShortcutSettings.otherDataBookmarks = sources.bookmarks ? 1 : 0;
        mShortcutSettings.otherDataBookmarksFavicons = sources.favicons ? 1 : 0;
        mShortcutSettings.otherDataAddressBook = sources.addressBook ? 1 : 0;
        mShortcutSettings.otherDataCalendarEvents = sources.calendarEvents ? 1 : 0;
        shortCutsDidChange();
    });
    // The files and folders read beside the desktop's address book and calendars.
    for (const auto &[editor, key] :
         {std::pair{mOtherDataView->contactsPaths(), KeyContactsPaths},
          std::pair{mOtherDataView->calendarPaths(), KeyCalendarPaths}}) {
        connect(editor, &PathListEditor::changed, this,
                [this, key = key](const QStringList &paths) {
                    mEnvironment.preferences->setValue(key, paths);
                    mEnvironment.preferences->synchronize();
                    mEnvironment.notifications->post(NotificationChannel::Daemon,
                                                     QStringLiteral("SettingChanged"));
                });
    }
    mNotesSection = new NotesSection(NotesFile::Kind::Notes, mWindow.get(), this);
    mProtectedNotesSection = new NotesSection(NotesFile::Kind::ProtectedNotes, mWindow.get(), this);
    for (NotesSection *section : {mNotesSection, mProtectedNotesSection})
        section->setShortcutCapture([this] { return captureShortcut(); });
    mNotesSection->setOtherSection(mProtectedNotesSection);
    mProtectedNotesSection->setOtherSection(mNotesSection);
    mWindow->setSectionView(S::Notes, mNotesSection->view());
    mWindow->setSectionView(S::ProtectedNotes, mProtectedNotesSection->view());
    for (NotesSection *notes : {mNotesSection, mProtectedNotesSection})
        connect(notes, &NotesSection::saved, this, [this] {
            mEnvironment.notifications->post(NotificationChannel::Daemon,
                                             QStringLiteral("NotesChanged"));
        });
    // A refused or cancelled password leaves nothing to show: back to the first section.
    connect(mProtectedNotesSection, &NotesSection::stayedLocked, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (mWindow->currentSection() == ManagerWindow::ProtectedNotes)
                mWindow->selectSection(ManagerWindow::Welcome);
        });
    });
    mClipboard = std::make_unique<ClipboardSection>(*mEnvironment.notifications, mWindow.get());
    if (SessionClipboard::currentOnlyWithFocus(
            mEnvironment.waylandSession.value_or(DisplayAvailability::isWaylandSession())))
        mClipboard->view()->showFocusNote();
    mWindow->setSectionView(S::Clipboard, mClipboard->view());

    auto *folders = new ApplicationFoldersView;
    mFoldersView = folders;
    mWindow->setSectionView(S::Applications, folders);
    connect(folders, &ApplicationFoldersView::addRequested, this, [this] {
        // From the home folder: the working folder of a program started from the menu is
        // wherever the desktop happened to be.
        const QString folder =
            QFileDialog::getExistingDirectory(mWindow.get(), QString(), QDir::homePath());
        if (!folder.isEmpty())
            addApplicationFolderAtPath(folder);
    });
    connect(folders, &ApplicationFoldersView::removeRequested, this,
            &MainController::removeApplication);
    connect(folders, &ListSectionView::pathsDropped, this,
            [this](const QStringList &paths) { addPathsDropped(paths, true); });

    auto *applications = new ApplicationsFoundView;
    mApplicationsView = applications;
    mWindow->setSectionView(S::ApplicationsFound, applications);
    connect(applications, &ApplicationsFoundView::filterChanged, this,
            &MainController::searchApplis);
    connect(applications, &ApplicationsFoundView::editRequested, this,
            &MainController::editApplication);
    connect(applications, &ApplicationsFoundView::webSearchRequested, this,
            &MainController::searchOnWeb);
    connect(applications, &ApplicationsFoundView::rescanRequested, this,
            &MainController::rescanApplications);

    auto *files = new FilesView;
    mFilesView = files;
    mWindow->setSectionView(S::Files, files);
    // The agent's index of the included folders, asked while the files are shown.
    auto *documentsPoll = new QTimer(this);
    documentsPoll->setInterval(DocumentsPollMs);
    connect(documentsPoll, &QTimer::timeout, this, [this] {
        if (mWindow->isVisible() && mWindow->currentSection() == ManagerWindow::Files)
            askDocumentsIndexStatus();
    });
    documentsPoll->start();
    connect(files, &FilesView::addRequested, this, [this](bool folder) {
        const QString path = folder
            ? QFileDialog::getExistingDirectory(mWindow.get(), QString(), QDir::homePath())
            : QFileDialog::getOpenFileName(mWindow.get(), QString(), QDir::homePath());
        if (!path.isEmpty())
            addFileAtPath(path);
    });
    connect(files, &FilesView::removeRequested, this, &MainController::removeFile);
    connect(files, &FilesView::editRequested, this, &MainController::editFileFolder);
    connect(files, &FilesView::includeContentsRequested, this, &MainController::addFolderContents);
    connect(files, &ListSectionView::pathsDropped, this,
            [this](const QStringList &paths) { addPathsDropped(paths, false); });

    connect(mWindow.get(), &ManagerWindow::sectionChanged, this,
            &MainController::clickMainTableView);
    connect(mShortcutView->daemonBox(), &QCheckBox::clicked, this,
            [this] { daemonActivation(true); });
    // Closing the window ends the manager; the agent keeps running.
    connect(mWindow.get(), &ManagerWindow::closed, this, [this] {
        saveForQuit();
        QTimer::singleShot(CloseDelayMs, qApp, &QCoreApplication::quit);
    });

    QMenu *edit = mWindow->menuBar()->addMenu(localized(QStringLiteral("ManagerEditMenu")));
    QAction *preferences = edit->addAction(localized(QStringLiteral("PreferencesMenu")), this,
                                           &MainController::editPrefs);
    // The desktop's own key for preferences where it has one, Ctrl+, otherwise.
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Preferences);
    if (keys.isEmpty())
        keys << QKeySequence(Qt::CTRL | Qt::Key_Comma);
    preferences->setShortcuts(keys);
    preferences->setMenuRole(QAction::PreferencesRole);
    edit->addAction(mApplicationsView->rescanAction());
    // The held-key command below is hidden from anyone who does not know it: the menu says it.
    QAction *activity = edit->addAction(localized(QStringLiteral("ActivityMenu")), this,
                                        [this] { openActivityWindows(); });
    activity->setObjectName(QStringLiteral("ActivityMenu"));
    connect(applications, &ApplicationsFoundView::activityRequested, this,
            &MainController::showActivity);
    connect(mWindow.get(), &ManagerWindow::fileDropped, this,
            [this](const QString &path) { openFile(path); });
    QMenu *help = mWindow->menuBar()->addMenu(localized(QStringLiteral("ManagerHelpMenu")));
    help->addAction(localized(QStringLiteral("TourTitle")), this, &MainController::showQuickTour);
    help->addAction(localized(QStringLiteral("AboutTitle")), this, [this] {
        AboutBox about(mEnvironment.version, mWindow.get());
        runWithSavedFrame(about);
    });
}

void MainController::awakeFromNib()
{
    buildSections();
    SharedPreferences &preferences = *mEnvironment.preferences;
    if (!preferences.contains(KeyAppsFolders))
        preferences.setValue(KeyAppsFolders, ApplicationsFolders::defaultApplicationsFolders());
    if (!preferences.contains(KeyFilesList))
        preferences.setValue(KeyFilesList, FilesList::defaultFilesList());
    preferences.synchronize();

    mListOfFoldersForApplications = preferences.value(KeyAppsFolders).toStringList();
    mListOfFiles = preferences.value(KeyFilesList).toList();
    mFilesBase = mListOfFiles;
    mFoldersView->setFolders(mListOfFoldersForApplications);
    mFilesView->setFiles(mListOfFiles);
    // Never stored: the agent is on, as the rest of the start-up expects.
    const std::optional<int> active =
        SharedPreferences::integerOf(preferences.value(KeyDaemonActivated));
    mShortcutView->daemonBox()->setChecked(active.value_or(1) != 0);
    mWindow->restoreGeometry(preferences.value(KeyWindowFrame).toByteArray());
    // The section is written back whole at each start, so every key exists for the agent.
    mShortcutSettings = ShortcutSettings::load(preferences);
    mOtherDataView->setSources({mShortcutSettings.otherDataBookmarks != 0,
                                mShortcutSettings.otherDataBookmarksFavicons != 0,
                                mShortcutSettings.otherDataAddressBook != 0,
                                mShortcutSettings.otherDataCalendarEvents != 0});
    mOtherDataView->contactsPaths()->setPaths(preferences.value(KeyContactsPaths).toStringList());
    mOtherDataView->calendarPaths()->setPaths(preferences.value(KeyCalendarPaths).toStringList());
    shortCutsDidChange();
    mClipboard->load();
    mWindow->selectSection(ManagerWindow::Welcome);
}

bool MainController::applicationDidFinishLaunching()
{
    SharedPreferences &preferences = *mEnvironment.preferences;
    if (mWelcomeView)
        mWelcomeView->setVersion(mEnvironment.version);

    if (preferences.value(KeyVersion).toString() != mEnvironment.version) {
        if (mEnvironment.interactive) {
            AgreementSheet sheet(AgreementSheet::licenceText(), mWindow.get());
            if (runWithSavedFrame(sheet) != QDialog::Accepted)
                return false;
        }
        preferences.setValue(KeyVersion, mEnvironment.version);
        preferences.synchronize();
        mFirstLaunchOfVersion = true;
    }

    // A running agent saves its application use before the manager reads it.
    mEnvironment.notifications->post(NotificationChannel::Daemon,
                                     QStringLiteral("MainAppLaunched"));
    loadApplications();
    // A moment later, so the window shows first; the agent has saved its use meanwhile.
    if (!mListOfApplicationsFound.isEmpty())
        QTimer::singleShot(int(ActivityDelaySeconds * 1000), this,
                           &MainController::updateActivityLevelInBackground);
    daemonActivation(false);
    if (mFirstLaunchOfVersion && mEnvironment.interactive)
        QTimer::singleShot(TourDelayMs, this, &MainController::showQuickTour);
    mEnvironment.notifications->observe(NotificationChannel::Main);
    mWindow->show();
    WindowFocus::bringToFront(mWindow.get());
    return true;
}

void MainController::saveForQuit()
{
    mEnvironment.preferences->setValue(KeyWindowFrame, mWindow->saveGeometry());
    mEnvironment.preferences->synchronize();
}

void MainController::quitForSignal()
{
    if (mQuitting)
        return;
    mQuitting = true;
    saveForQuit();
    // Every event loop ends, a sheet's too (its exec answers as a cancel would), so the code
    // after a sheet runs before the manager's own loop returns.
    QCoreApplication::exit(0);
}

void MainController::showQuickTour()
{
    // One tour at a time: asked again, the open one comes forward where it stands.
    if (!mTour) {
        mTour = new TourWindow(mWindow.get());
        mTour->setAttribute(Qt::WA_DeleteOnClose);
    }
    mTour->show();
    WindowFocus::bringToFront(mTour);
}

TourWindow *MainController::quickTour() const
{
    return mTour;
}

int MainController::runWithSavedFrame(QDialog &dialog)
{
    // Under the dialog's own name, as the main window's frame is kept.
    const QString key = QStringLiteral("NSWindow Frame ") + dialog.objectName();
    SharedPreferences &preferences = *mEnvironment.preferences;
    dialog.restoreGeometry(preferences.value(key).toByteArray());
    const int result = dialog.exec();
    preferences.setValue(key, dialog.saveGeometry());
    preferences.synchronize();
    return result;
}

void MainController::loadApplications()
{
    mListOfApplicationsFound = mScanner->applicationsFile().read();
    mScanner->setApplicationsList(mListOfApplicationsFound);
    mScanner->setApplicationsFolders(mListOfFoldersForApplications);
    if (mListOfApplicationsFound.isEmpty())
        mScanner->launchScanApplicationsProcess();
    searchApplis();
}

void MainController::applicationsListChanged(const QVariantList &list)
{
    mListOfApplicationsFound = list;
    searchApplis();
    mEnvironment.notifications->post(NotificationChannel::Daemon,
                                     QStringLiteral("ScanApplicationsCompleted"));
    emit applicationsFoundChanged();
}

void MainController::clickMainTableView(int section)
{
    if (section == ManagerWindow::Notes)
        mNotesSection->open();
    // Without the password the protected notes stay closed: the section says so (stayedLocked).
    if (section == ManagerWindow::ProtectedNotes)
        mProtectedNotesSection->open();
    if (section == ManagerWindow::ApplicationsFound) {
        searchApplis();
        if (mApplicationsView)
            mApplicationsView->searchField()->setFocus();
    }
    // The agent may have changed these lists meanwhile: they are read again, then filtered.
    if (section == ManagerWindow::ToDo && mToDoSection)
        mToDoSection->readList();
    if (section == ManagerWindow::Reminder && mReminderSection)
        mReminderSection->readList();
    if (section == ManagerWindow::Clipboard) {
        mClipboard->reloadIfChanged();
        mClipboard->view()->searchField()->setFocus();
    }
}

void MainController::openClipboardPanel()
{
    mWindow->selectSection(ManagerWindow::Clipboard);
}

void MainController::searchApplis()
{
    if (!mApplicationsView)
        return;
    mApplicationsView->table()->clearSelection();
    // Without any recorded use there are no levels to choose from: every application passes.
    const int activityChoice = mAppsActivity.isEmpty() ? 0 : mApplicationsView->activityChoice();
    mApplicationsView->setActivityChoiceEnabled(!mAppsActivity.isEmpty());
    mListOfApplicationsFoundDisplayed = ManagerListFilter::search(
        mApplicationsView->searchText(), mListOfApplicationsFound, activityChoice, mAppsActivity);
    mApplicationsView->setApplications(
        mListOfApplicationsFound, mListOfApplicationsFoundDisplayed,
        ManagerListFilter::counterText(mListOfApplicationsFoundDisplayed.size(),
                                       mListOfApplicationsFound.size()));
}

void MainController::searchOnWeb(int row, const QString &addressTemplate)
{
    if (row < 0 || row >= mListOfApplicationsFoundDisplayed.size())
        return;
    const QVariantMap application =
        mListOfApplicationsFound.value(mListOfApplicationsFoundDisplayed.at(row)).toMap();
    const std::optional<QUrl> address =
        WebSearch::addressFor(addressTemplate, application.value(KeyTitle).toString());
    if (!address)
        return;
    if (mEnvironment.openUrl)
        mEnvironment.openUrl(*address);
    else
        Workspace::createLinux()->openUrl(*address); // the browser may take the focus
}

void MainController::shortCutsDidChange()
{
    mShortcutSettings.store(*mEnvironment.preferences);
    mShortcutView->showSettings(mShortcutSettings);
    if (mWelcomeView)
        mWelcomeView->setGesture(mShortcutSettings.gestureSummary());
    mEnvironment.notifications->post(NotificationChannel::Daemon, QStringLiteral("SettingChanged"));
}

KeyActivationSheet *MainController::keyActivationSheet()
{
    if (!mKeyActivationSheet)
        mKeyActivationSheet = std::make_unique<KeyActivationSheet>(keyboard(), mWindow.get());
    return mKeyActivationSheet.get();
}

CornerActivationSheet *MainController::cornerActivationSheet()
{
    if (!mCornerActivationSheet)
        mCornerActivationSheet = std::make_unique<CornerActivationSheet>(mWindow.get());
    return mCornerActivationSheet.get();
}

void MainController::changeKeyActivationSettings()
{
    if (runSectionSheet(keyActivationSheet(), mShortcutSettings))
        shortCutsDidChange();
}

void MainController::changeMouseActivationSettings()
{
    if (runSectionSheet(cornerActivationSheet(), mShortcutSettings))
        shortCutsDidChange();
}

PreferencesSheet *MainController::preferencesSheet()
{
    if (!mPreferencesSheet)
        mPreferencesSheet = std::make_unique<PreferencesSheet>(mWindow.get());
    return mPreferencesSheet.get();
}

void MainController::editPrefs()
{
    mWindow->raise();
    PreferencesSheet *sheet = preferencesSheet();
    sheet->load(*mEnvironment.preferences);
    if (sheet->exec() != QDialog::Accepted)
        return;
    sheet->store(*mEnvironment.preferences);
    mEnvironment.notifications->post(NotificationChannel::Daemon, QStringLiteral("SettingChanged"));
    mEnvironment.notifications->post(NotificationChannel::Daemon,
                                     sheet->showKeysDetection()
                                         ? QStringLiteral("ShowKeysDetection")
                                         : QStringLiteral("CloseKeysDetection"));
}

void MainController::setApplicationsActivity(const ManagerListFilter::ActivityMap &activity)
{
    mAppsActivity = activity;
    if (mApplicationsView)
        mApplicationsView->setActivity(mAppsActivity);
    searchApplis();
}

void MainController::showActivity(Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::AltModifier)
        openActivityWindows();
}

void MainController::openActivityWindows(const QString &path)
{
    if (!mActivityGraphWindow)
        mActivityGraphWindow = std::make_unique<ActivityChartWindow>(mWindow.get());
    if (!mActivityReportWindow)
        mActivityReportWindow = std::make_unique<ActivityReportWindow>(mWindow.get());
    mActivityFile = path.isEmpty() ? CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
                        DataFileName::ApplicationsUse)
                                   : path;
    mActivityGraphWindow->setLoading(true);
    mActivityReportWindow->setLoading(true);
    // Opened together, they open apart and whole on the manager's screen; once shown, they stay
    // where the user put them.
    if (!mActivityGraphWindow->isVisible() && !mActivityReportWindow->isVisible())
        QOR_WindowsUtils::placeApart({mActivityGraphWindow.get(), mActivityReportWindow.get()},
                                     mWindow.get());
    for (QWidget *window : {static_cast<QWidget *>(mActivityGraphWindow.get()),
                            static_cast<QWidget *>(mActivityReportWindow.get())}) {
        window->show();
        window->raise();
        window->activateWindow();
    }
    // Years of use take a quarter of a second to decode: the windows answer meanwhile.
    const int reading = ++mActivityReading;
    auto *watcher = new QFutureWatcher<std::optional<ActivityData>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, reading] {
        watcher->deleteLater();
        if (reading != mActivityReading)
            return;
        if (const std::optional<ActivityData> data = watcher->result())
            showActivityLevels(*data);
        fillActivityWindows();
    });
    const QString file = mActivityFile;
    watcher->setFuture(QtConcurrent::run([file] { return readActivity(file); }));
}

void MainController::fillActivityWindows()
{
    const auto names = std::make_shared<const ApplicationNames>(mListOfApplicationsFound);
    mActivityGraphWindow->setData(mActivityData, names);
    mActivityReportWindow->setData(mActivityData, names);
    mActivityGraphWindow->setLoading(false);
    mActivityReportWindow->setLoading(false);
    emit activityWindowsFilled();
}

bool MainController::openFile(const QString &path)
{
    if (QFileInfo(path).fileName() != DataFileName::ApplicationsUse)
        return false;
    openActivityWindows(path);
    return true;
}

bool MainController::updateActivityLevel(const QString &path)
{
    const QString file = path.isEmpty()
        ? CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
            DataFileName::ApplicationsUse)
        : path;
    // A missing, empty or unreadable file leaves what was shown.
    const std::optional<ActivityData> data = readActivity(file);
    if (!data)
        return false;
    showActivityLevels(*data);
    return true;
}

std::optional<ActivityData> MainController::readActivity(const QString &file)
{
    const std::optional<QVariantList> records = ActivityData::readFile(file);
    if (!records)
        return std::nullopt;
    return ActivityData::fromRecords(
        *records, qint64(QOR_DateUtils::referenceSeconds(QOR_DateUtils::todayAt0h00())));
}

void MainController::showActivityLevels(const ActivityData &data)
{
    mActivityData = data;
    setApplicationsActivity(mActivityData.appsActivity());
    if (mApplicationsView)
        mApplicationsView->setActivityInfo(QOR_StringUtils::getLocalizedStringForCount(
            QStringLiteral("ActivityRecorded"), int(mActivityData.oldestDayAge() + 1)));
}

void MainController::updateActivityLevelInBackground()
{
    // Years of use take a few hundred milliseconds to decode: not on the thread the user types on.
    const QString file = CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
        DataFileName::ApplicationsUse);
    auto *watcher = new QFutureWatcher<std::optional<ActivityData>>(this);
    const int reading = mActivityReading;
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, reading] {
        watcher->deleteLater();
        // Windows opened meanwhile read a file of their own, which may not be this one.
        if (reading == mActivityReading) {
            if (const std::optional<ActivityData> data = watcher->result())
                showActivityLevels(*data);
        }
        emit activityLevelsRead();
    });
    watcher->setFuture(QtConcurrent::run([file] { return readActivity(file); }));
}

void MainController::rescanApplications()
{
    mScanner->setApplicationsFolders(mListOfFoldersForApplications);
    // A scan already running may have walked past a new entry: another one follows it.
    if (!mScanner->launchScanApplicationsProcess())
        mRescanPending = true;
}

void MainController::storeFolders()
{
    mEnvironment.preferences->setValue(KeyAppsFolders, mListOfFoldersForApplications);
    mEnvironment.preferences->synchronize();
    mFoldersView->setFolders(mListOfFoldersForApplications);
    mScanner->setApplicationsFolders(mListOfFoldersForApplications);
    mScanner->launchScanApplicationsProcess();
}

bool MainController::addApplicationFolderAtPath(const QString &path)
{
    if (!FilesList::addApplicationFolder(mListOfFoldersForApplications, path))
        return false;
    storeFolders();
    return true;
}

void MainController::removeApplication(const QList<int> &rows)
{
    QList<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    for (int row : sorted) {
        if (row >= 0 && row < mListOfFoldersForApplications.size())
            mListOfFoldersForApplications.removeAt(row);
    }
    storeFolders();
}

void MainController::storeFiles(const QString &notification)
{
    // A second copy of the manager may have stored the list since this one read it.
    const QVariantList theirs = mEnvironment.preferences->value(KeyFilesList).toList();
    if (theirs != mFilesBase) {
        mListOfFiles = ListMerge::merge(mFilesBase, mListOfFiles, theirs, &ListMerge::byPath);
        FilesList::sort(mListOfFiles);
    }
    mEnvironment.preferences->setValue(KeyFilesList, mListOfFiles);
    mEnvironment.preferences->synchronize();
    mFilesBase = mListOfFiles;
    mFilesView->setFiles(mListOfFiles);
    mEnvironment.notifications->post(NotificationChannel::Daemon, notification);
}

bool MainController::addFileAtPath(const QString &path)
{
    if (!FilesList::addPath(mListOfFiles, path))
        return false;
    storeFiles(QStringLiteral("SettingChanged"));
    return true;
}

void MainController::removeFile(const QList<int> &rows)
{
    QList<int> shown;
    for (int i = 0; i < mListOfFiles.size(); ++i)
        shown << i;
    FilesList::removeRows(mListOfFiles, shown, rows);
    storeFiles(QStringLiteral("SettingChanged"));
}

void MainController::addFolderContents(const QList<int> &rows, bool include)
{
    FilesList::setIncludeContents(mListOfFiles, rows, include);
    mEnvironment.preferences->setValue(QStringLiteral("FilesListRescan"), 1);
    storeFiles(QStringLiteral("RescanFolders"));
}

void MainController::addPathsDropped(const QStringList &paths, bool folders)
{
    for (const QString &path : paths) {
        if (folders)
            addApplicationFolderAtPath(path);
        else
            addFileAtPath(path);
    }
}

ItemEditorSheet *MainController::itemEditor()
{
    if (!mItemEditor)
        mItemEditor = std::make_unique<ItemEditorSheet>(mWindow.get());
    return mItemEditor.get();
}

KeyMapSource *MainController::keyboard()
{
    if (mEnvironment.keyboard)
        return mEnvironment.keyboard;
    // Decided once: the sheets keep the source they were made with.
    if (!mOwnKeyboard && mShortcutView && mShortcutView->keyboardDevicesPanel())
        mOwnKeyboard = mShortcutView->keyboardDevicesPanel()->chosenKeyboard();
    // Sampled, as the sheets poll it ten times a second anyway.
    if (!mOwnKeyboard)
        mOwnKeyboard = KeyMapSource::createX11(KeyMapSource::Feed::Sampling).source;
    return mOwnKeyboard.get();
}

ShortcutCaptureSheet *MainController::shortcutSheet()
{
    if (!mShortcutSheet)
        mShortcutSheet = std::make_unique<ShortcutCaptureSheet>(keyboard(), mWindow.get());
    return mShortcutSheet.get();
}

std::optional<KeyMap> MainController::captureShortcut()
{
    return shortcutSheet()->capture(std::nullopt);
}

std::optional<QVariantMap> MainController::editRecord(const QVariantMap &record)
{
    return itemEditor()->edit(record, false, true, [this] { return captureShortcut(); });
}

void MainController::editApplication(int row)
{
    if (row < 0 || row >= mListOfApplicationsFoundDisplayed.size())
        return;
    const int index = mListOfApplicationsFoundDisplayed.at(row);
    if (index < 0 || index >= mListOfApplicationsFound.size())
        return;
    const QVariantMap original = mListOfApplicationsFound.at(index).toMap();
    const std::optional<QVariantMap> edited = editRecord(original);
    if (!edited)
        return;
    // A scan may have replaced the list while the sheet was open: the edit goes to the
    // application of that path in the list as it stands now.
    ListMerge::applyEdit(mListOfApplicationsFound, original, *edited, &ListMerge::byPath);
    ItemEditing::sortApplications(mListOfApplicationsFound);
    mScanner->applicationsFile().save(mListOfApplicationsFound);
    mScanner->setApplicationsList(mListOfApplicationsFound);
    searchApplis();
    // Told at once: left to its periodic check the agent would find the new abbreviation only
    // up to a minute later.
    mEnvironment.notifications->post(NotificationChannel::Daemon, QStringLiteral("SettingChanged"));
}

void MainController::editFileFolder(int row)
{
    if (row < 0 || row >= mListOfFiles.size())
        return;
    const QVariantMap original = mListOfFiles.at(row).toMap();
    const std::optional<QVariantMap> edited = editRecord(original);
    if (!edited)
        return;
    ListMerge::applyEdit(mListOfFiles, original, *edited, &ListMerge::byPath);
    FilesList::sort(mListOfFiles);
    storeFiles(QStringLiteral("SettingChanged"));
}

void MainController::editItem(const QVariantMap &record)
{
    const QString path = record.value(KeyPath).toString();
    switch (record.value(KeyKind).toInt()) {
    case KindApplication: {
        if (mWindow->currentSection() != ManagerWindow::ApplicationsFound)
            mWindow->selectSection(ManagerWindow::ApplicationsFound);
        mApplicationsView->clearSearch();
        searchApplis();
        for (int row = 0; row < mListOfApplicationsFoundDisplayed.size(); ++row) {
            const int index = mListOfApplicationsFoundDisplayed.at(row);
            if (mListOfApplicationsFound.at(index).toMap().value(KeyPath).toString() == path) {
                editApplication(row);
                return;
            }
        }
        return;
    }
    case KindFile:
        if (mWindow->currentSection() != ManagerWindow::Files)
            mWindow->selectSection(ManagerWindow::Files);
        for (int row = 0; row < mListOfFiles.size(); ++row) {
            if (mListOfFiles.at(row).toMap().value(KeyPath).toString() == path) {
                editFileFolder(row);
                return;
            }
        }
        return;
    case KindNote:
    case KindProtectedNote: {
        const bool vault = record.value(KeyKind).toInt() == KindProtectedNote;
        NotesSection *notes = vault ? mProtectedNotesSection : mNotesSection;
        const int section = vault ? ManagerWindow::ProtectedNotes : ManagerWindow::Notes;
        // Selecting the protected notes asks for the password when none is known.
        if (mWindow->currentSection() != section)
            mWindow->selectSection(section);
        else if (!notes->isUnlocked())
            notes->open();
        notes->editMatching(record);
        return;
    }
    default:
        return;
    }
}

void MainController::daemonActivation(bool fromCheckBox)
{
    const bool active = mShortcutView->daemonBox()->isChecked();
    if (fromCheckBox) {
        mEnvironment.preferences->setValue(KeyDaemonActivated, active ? 1 : 0);
        mEnvironment.preferences->synchronize();
    }
    mDaemon->apply(active);
}

void MainController::notificationReceived(const QString &channel, const QString &object,
                                          const QVariantMap &userInfo)
{
    if (channel != NotificationChannel::Main)
        return;
    // An edit opens a moment later; one that finds a sheet open waits from now on, so that it
    // runs after that sheet whatever the timing.
    if (object == EditItemCommand && mRequests->pending().isEmpty()
        && !SheetRequestQueue::isSheetOpen()) {
        QTimer::singleShot(EditItemDelayMs, this, [this, object, userInfo] {
            mRequests->submit({object, userInfo});
        });
        return;
    }
    mRequests->submit({object, userInfo});
}

void MainController::bringForwardForWaitingRequest(const SheetRequestQueue::Request &request)
{
    static const QStringList broughtForward{EditItemCommand, QStringLiteral("EditToDoItem"),
                                            QStringLiteral("EditReminderItem"),
                                            QStringLiteral("ShowQuickTour")};
    if (!broughtForward.contains(request.object))
        return;
    mWindow->show();
    mWindow->raise();
    mWindow->activateWindow();
    if (QWidget *sheet = QApplication::activeModalWidget()) {
        sheet->raise();
        sheet->activateWindow();
    }
    if (request.object == EditItemCommand) {
        const QString title = ItemEditing::initialTitle(request.userInfo);
        // Shown only while an edit waits, under the window the open sheet is attached to.
        mWindow->statusBar()->showMessage(localized(QStringLiteral("ManagerEditWaits")).arg(title));
        mWindow->statusBar()->show();
    }
}

void MainController::handleRequest(const SheetRequestQueue::Request &request)
{
    const QString &object = request.object;
    if (object == ClipboardStore::ChangedCommand) {
        mClipboard->reloadIfChanged();
        return;
    }
    if (object == QLatin1String("NotesChanged")) {
        mNotesSection->reload();
        mProtectedNotesSection->reload();
        return;
    }
    // The agent leaves changes of the to-do list to the manager while it runs.
    if (object == QLatin1String("EditToDoItem") || object == QLatin1String("EditReminderItem")) {
        const bool toDo = object == QLatin1String("EditToDoItem");
        const int section = toDo ? ManagerWindow::ToDo : ManagerWindow::Reminder;
        // Selecting reads the list again; a section already selected is read here.
        if (mWindow->currentSection() == section)
            clickMainTableView(section);
        mWindow->selectSection(section);
        mWindow->show();
        WindowFocus::bringToFront(mWindow.get());
        return;
    }
    if (object == QLatin1String("ShowQuickTour")) {
        showQuickTour();
        return;
    }
    if (object == EditItemCommand)
        editItem(request.userInfo);
}

void MainController::askDocumentsIndexStatus()
{
    if (mDocumentsStatusAsked)
        return;
    mDocumentsStatusAsked = true;
    const QDBusMessage call = QDBusMessage::createMethodCall(
        SessionProgram::daemon().service, QStringLiteral("/org/korvale/Instance"),
        QStringLiteral("org.korvale.Instance"), QStringLiteral("Status"));
    auto *watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call, 1000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                mDocumentsStatusAsked = false;
                const QDBusMessage reply = finished->reply();
                // No agent: nothing is said beside the folders.
                QVariantMap documents;
                if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
                    documents = DBusNotificationCenter::fromWire(reply.arguments().first())
                                    .toMap()
                                    .value(QStringLiteral("documents"))
                                    .toMap();
                ItemRowDelegate::setDocumentsIndexStatus(documents);
                if (mFilesView)
                    mFilesView->update();
            });
}
