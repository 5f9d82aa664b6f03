#pragma once

#include "ActivityData.h"
#include "ManagerListFilter.h"
#include "SheetRequestQueue.h"
#include "ShortcutSettings.h"
#include "platform/EvdevDeviceDiscovery.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>

class ActivityChartWindow;
class ActivityReportWindow;
class ApplicationScanner;
class ApplicationFoldersView;
class ApplicationsFoundView;
class ClipboardSection;
class CornerActivationSheet;
class DaemonControl;
class FilesView;
class ItemEditorSheet;
class KeyActivationSheet;
class KeyMap;
class KeyMapSource;
class ManagerWindow;
class NotesSection;
class NotificationCenter;
class OtherDataView;
class PreferencesSheet;
class SessionPrograms;
class SharedPreferences;
class ShortcutCaptureSheet;
class ShortcutSectionView;
class ReminderSection;
class ToDoSection;
class TourWindow;
class QDialog;
class WelcomeView;

// The manager: its start-up, the agent's control, and the lists of the sections, each shown by a
// view of its own. Main thread only; one per program.
class MainController : public QObject
{
    Q_OBJECT
public:
    struct Environment {
        SharedPreferences *preferences = nullptr; // empty: the standard preferences
        NotificationCenter *notifications = nullptr; // empty: a centre on the session bus
        KeyMapSource *keyboard = nullptr; // for the shortcut sheet; empty: X11, sampled
        QString daemonPath; // empty: beside this program
        const SessionPrograms *programs = nullptr; // empty: this session's bus
        std::function<bool(const QString &)> startProgram; // empty: detached
        // Modal sheets are skipped (accepted) where there is no one to answer them.
        bool interactive = true;
        // Empty: asked of the session. Where gestures cannot be watched the section says so.
        std::optional<bool> waylandSession;
        // Where a Wayland session's keyboards are looked for; empty: /dev/input.
        std::optional<EvdevDeviceDiscovery> keyboardDevices;
        // Empty: the desktop's web browser.
        std::function<void(const QUrl &)> openUrl;
        QString version; // empty: the application's version
    };

    static constexpr int EditItemDelayMs = 200;
    static constexpr int TourDelayMs = 2000;
    static constexpr int CloseDelayMs = 500;
    static constexpr double ActivityDelaySeconds = 1.0;

    explicit MainController(Environment environment, QObject *parent = nullptr);
    ~MainController() override;

    static MainController *sharedInstance();

    // The two start-up stages.
    void awakeFromNib();
    // False when the user declined the licence: the manager ends.
    bool applicationDidFinishLaunching();
    // SIGHUP, SIGINT, SIGTERM: what closing the window keeps is kept, an open sheet is left as
    // Cancel leaves it, and the manager ends with status 0.
    void quitForSignal();

    ManagerWindow *window() const { return mWindow.get(); }
    ApplicationFoldersView *foldersView() const { return mFoldersView; }
    ApplicationsFoundView *applicationsView() const { return mApplicationsView; }
    FilesView *filesView() const { return mFilesView; }
    ItemEditorSheet *itemEditor();
    ShortcutCaptureSheet *shortcutSheet();
    DaemonControl &daemonControl() { return *mDaemon; }
    bool isFirstLaunchOfVersion() const { return mFirstLaunchOfVersion; }

    const QStringList &foldersForApplications() const { return mListOfFoldersForApplications; }
    const QVariantList &applicationsFound() const { return mListOfApplicationsFound; }
    const QList<int> &applicationsFoundDisplayed() const
    {
        return mListOfApplicationsFoundDisplayed;
    }
    const QVariantList &files() const { return mListOfFiles; }
    // Tests deliver scan results through it as a finished scan would.
    ApplicationScanner *scanner() const { return mScanner.get(); }

    // The sections' operations.
    void clickMainTableView(int section);
    bool addApplicationFolderAtPath(const QString &path);
    void removeApplication(const QList<int> &rows);
    bool addFileAtPath(const QString &path);
    void removeFile(const QList<int> &rows);
    void addFolderContents(const QList<int> &rows, bool include);
    void editApplication(int row);
    void editFileFolder(int row);
    void searchApplis();
    // Rescan Applications: the application folders walked again now, as the agent's scan would.
    void rescanApplications();
    // searchOnWeb: the shown row's application in the web browser.
    void searchOnWeb(int row, const QString &addressTemplate);
    // The agent's "EditItem" request.
    void editItem(const QVariantMap &record);
    // What other programs asked while a sheet was open, waiting for it to close.
    const SheetRequestQueue &waitingRequests() const { return *mRequests; }
    // The agent-active box: stored when the user changed it.
    void daemonActivation(bool fromCheckBox);
    // shortCutsDidChange: the shortcut and other-data keys stored, and the agent told.
    void shortCutsDidChange();
    // changeKeyActivationSettings and changeMouseActivationSettings: the two sheets of the
    // shortcut section; OK stores the section.
    void changeKeyActivationSettings();
    void changeMouseActivationSettings();
    KeyActivationSheet *keyActivationSheet();
    CornerActivationSheet *cornerActivationSheet();
    ShortcutSectionView *shortcutView() const { return mShortcutView; }
    WelcomeView *welcomeView() const { return mWelcomeView; }
    // editPrefs: the preferences sheet; on OK its keys are stored and the agent told.
    void editPrefs();
    PreferencesSheet *preferencesSheet();
    OtherDataView *otherDataView() const { return mOtherDataView; }
    ToDoSection *toDoSection() const { return mToDoSection; }
    ReminderSection *reminderSection() const { return mReminderSection; }
    const ShortcutSettings &shortcutSettings() const { return mShortcutSettings; }
    void setApplicationsActivity(const ManagerListFilter::ActivityMap &activity);
    // updateActivityLevel: the levels, the use records and the section's "ActivityRecorded" line
    // from the application-use file (the data folder's when no path is given). False, and
    // nothing changed, when the file is missing, empty or unreadable.
    bool updateActivityLevel(const QString &path = {});
    // The same from the data folder's file, read on a worker thread (after start-up).
    void updateActivityLevelInBackground();
    const ActivityData &activityData() const { return mActivityData; }
    // showActivity: the chart and report windows, only while Alt (the Option key) is held.
    void showActivity(Qt::KeyboardModifiers modifiers);
    // The chart and the report of the data folder's use file, or of the given one: both windows
    // in front at once, saying they are reading; the file is read on a worker thread, then the
    // levels are recomputed, chart and report redrawn and the use table put at its last row
    // (activityWindowsFilled). A file that cannot be read leaves what was shown.
    void openActivityWindows(const QString &path = {});
    // The file the windows were last asked to show.
    QString activityFile() const { return mActivityFile; }
    // application:openFile: a file named "ApplicationsUse.krvdata", wherever it lies, opens its
    // activity; any other file is accepted without effect. True when it was opened.
    bool openFile(const QString &path);
    ActivityChartWindow *activityGraphWindow() const { return mActivityGraphWindow.get(); }
    ActivityReportWindow *activityReportWindow() const { return mActivityReportWindow.get(); }
    ClipboardSection *clipboardSection() const { return mClipboard.get(); }
    // openClipboardPanel: selects the clipboard section.
    void openClipboardPanel();
    // The tour, in front; asked by the Help menu, the first start of a version and the agent.
    void showQuickTour();
    TourWindow *quickTour() const;

signals:
    void applicationsFoundChanged();
    // The background reading of the use file is over (whether or not it found any).
    void activityLevelsRead();
    // The activity windows show the file asked for last (or what was shown, when it could not
    // be read).
    void activityWindowsFilled();

private:
    void buildSections();
    // The window's place and every preference not written yet.
    void saveForQuit();
    // The agent's index of the included folders, for the files table's rows (asked on the bus).
    void askDocumentsIndexStatus();
    static std::optional<ActivityData> readActivity(const QString &file);
    void showActivityLevels(const ActivityData &data);
    void fillActivityWindows();
    void loadApplications();
    void storeFolders();
    void storeFiles(const QString &notification);
    void applicationsListChanged(const QVariantList &list);
    void notificationReceived(const QString &channel, const QString &object,
                              const QVariantMap &userInfo);
    void handleRequest(const SheetRequestQueue::Request &request);
    void bringForwardForWaitingRequest(const SheetRequestQueue::Request &request);
    std::optional<QVariantMap> editRecord(const QVariantMap &record);
    std::optional<KeyMap> captureShortcut();
    KeyMapSource *keyboard();
    void addPathsDropped(const QStringList &paths, bool folders);
    // exec with the frame the dialog had last time, kept under its name.
    int runWithSavedFrame(QDialog &dialog);

    Environment mEnvironment;
    std::unique_ptr<SharedPreferences> mOwnPreferences;
    std::unique_ptr<NotificationCenter> mOwnNotifications;
    std::unique_ptr<KeyMapSource> mOwnKeyboard;
    std::unique_ptr<ManagerWindow> mWindow;
    std::unique_ptr<DaemonControl> mDaemon;
    std::unique_ptr<ApplicationScanner> mScanner;
    // "FilesList" as this program last read or stored it.
    QVariantList mFilesBase;
    WelcomeView *mWelcomeView = nullptr;
    ApplicationFoldersView *mFoldersView = nullptr;
    ApplicationsFoundView *mApplicationsView = nullptr;
    NotesSection *mNotesSection = nullptr;
    NotesSection *mProtectedNotesSection = nullptr;
    FilesView *mFilesView = nullptr;
    // One status call at a time; the agent may be slow or gone.
    bool mDocumentsStatusAsked = false;
    OtherDataView *mOtherDataView = nullptr;
    ToDoSection *mToDoSection = nullptr;
    ReminderSection *mReminderSection = nullptr;
    ShortcutSectionView *mShortcutView = nullptr;
    std::unique_ptr<KeyActivationSheet> mKeyActivationSheet;
    std::unique_ptr<CornerActivationSheet> mCornerActivationSheet;
    std::unique_ptr<PreferencesSheet> mPreferencesSheet;
    ShortcutSettings mShortcutSettings;
    std::unique_ptr<ItemEditorSheet> mItemEditor;
    std::unique_ptr<ShortcutCaptureSheet> mShortcutSheet;
    std::unique_ptr<ClipboardSection> mClipboard;
    std::unique_ptr<SheetRequestQueue> mRequests;

    QStringList mListOfFoldersForApplications;
    QVariantList mListOfApplicationsFound;
    QList<int> mListOfApplicationsFoundDisplayed;
    QVariantList mListOfFiles;
    ManagerListFilter::ActivityMap mAppsActivity;
    ActivityData mActivityData;
    std::unique_ptr<ActivityChartWindow> mActivityGraphWindow;
    std::unique_ptr<ActivityReportWindow> mActivityReportWindow;
    QString mActivityFile;
    // Counts the windows' readings: only the one asked last is shown, and a reading of the
    // levels started before it is dropped.
    int mActivityReading = 0;
    QPointer<TourWindow> mTour;
    bool mFirstLaunchOfVersion = false;
    bool mRescanPending = false;
    bool mQuitting = false;
};
