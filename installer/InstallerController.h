#pragma once

#include "InstallRun.h"
#include "InstallScript.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>

#include <memory>

class InstallerSystem;
class InstallerWindow;
class Workspace;

// The installer's one controller: the script's model, the window, the runs and their reports.
class InstallerController : public QObject, private InstallRunDelegate
{
    Q_OBJECT
public:
    InstallerController(QString resourceFolder, std::unique_ptr<InstallerSystem> system,
                        std::unique_ptr<Workspace> workspace);
    ~InstallerController() override;

    // Where "/Applications" lands; the default is the user's (or root's) own. Before setUpWindow.
    void setApplicationsFolder(const QString &folder) { mApplicationsFolder = folder; }
    // Reads the script, fills the window and shows it.
    void setUpWindow();
    InstallerWindow *window() const { return mWindow.get(); }
    bool isRunning() const { return mWorker != nullptr; }
    // Leaves out the pauses between steps (the benchmark and the tests).
    void setStepPauses(bool pauses) { mRun.mPauses = pauses; }

    QString mAppName;
    QString mAppPath;
    QString mAppNewsName;
    std::optional<QStringList> mInstallSteps;
    std::optional<QStringList> mUninstallSteps;
    std::optional<QStringList> mUninstallIgnoreSettingsSteps;
    bool mOldVersionExists = false;
    bool mSameVersion = false;
    bool mInstallMode = false;
    // The last answer about an item the Trash refused.
    bool mAlertResponse = false;

    void install();
    void uninstall();
    void stop();
    void showInstallInformation();
    void showUninstallInformation(bool fromCheckBox);
    void showNews();
    void showSettingsFolder();
    void gotostore();
    void endAction(bool failed);
    // SIGHUP, SIGINT, SIGTERM: a run stops as Stop stops it (the step under way ends whole) and
    // the installer ends without its report; with no run, at once.
    void quitForSignal();

signals:
    // The program should end; main quits the event loop.
    void quitRequested();
    // A run's report was answered (tests wait for it).
    void runEnded(bool failed);

private:
    void displayProgress(const QString &counter) override;
    void showProgressInfo(const QString &counter, const QString &text) override;
    bool askAboutRefusedItem(const QString &path) override;

    void startRun(const QStringList &steps, const QString &titleKey);
    void showVersions();
    // What the alert says when the script cannot be used: a missing script is named, with how
    // to build the folder that carries one.
    QString scriptProblem() const;
    bool launchApplication(const QString &path);
    QString installedCopyPath() const;
    // The steps with their paths as they land here, for the information drawer.
    QStringList stepsWithPaths(const std::optional<QStringList> &steps) const;
    int alert(bool critical, const char *title, const QString &text, const char *defaultButton,
              const char *alternateButton);

    QString mResourceFolder;
    QString mApplicationsFolder;
    std::unique_ptr<InstallerSystem> mSystem;
    std::unique_ptr<Workspace> mWorkspace;
    std::unique_ptr<InstallerWindow> mWindow;
    InstallRun mRun;
    QPointer<QThread> mWorker;
    bool mQuitting = false;
};
