#include "InstallerController.h"

#include "BoundedFile.h"
#include "InstallPaths.h"
#include "InstallerSystem.h"
#include "InstallerWindow.h"
#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"
#include "WindowFocus.h"
#include "platform/Workspace.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace {

QString text(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKeyTable(QLatin1String(key),
                                                          InstallScriptReader::Table);
}

} // namespace

InstallerController::InstallerController(QString resourceFolder,
                                         std::unique_ptr<InstallerSystem> system,
                                         std::unique_ptr<Workspace> workspace)
    : mResourceFolder(std::move(resourceFolder))
    , mApplicationsFolder(InstallPaths::defaultApplicationsFolder())
    , mSystem(std::move(system))
    , mWorkspace(std::move(workspace))
    , mRun(*mSystem, *this)
{
}

InstallerController::~InstallerController()
{
    if (mWorker) {
        mRun.mMustStop = true;
        mWorker->wait();
    }
}

QString InstallerController::installedCopyPath() const
{
    if (mAppPath.isEmpty())
        return {};
    return mApplicationsFolder + QLatin1Char('/') + QFileInfo(mAppPath).fileName();
}

void InstallerController::setUpWindow()
{
    mWindow = std::make_unique<InstallerWindow>();
    InstallerWindow *window = mWindow.get();
    connect(window->mInstallButton, &QPushButton::clicked, this, &InstallerController::install);
    connect(window->mUninstallButton, &QPushButton::clicked, this, &InstallerController::uninstall);
    connect(window->mProgressSheet->mStopButton, &QPushButton::clicked, this,
            &InstallerController::stop);
    connect(window->mInstallInfoButton, &QPushButton::clicked, this,
            &InstallerController::showInstallInformation);
    connect(window->mUninstallInfoButton, &QPushButton::clicked, this,
            [this] { showUninstallInformation(false); });
    connect(window->mRemoveSettingsOption, &QCheckBox::toggled, this,
            [this] { showUninstallInformation(true); });
    connect(window->mNewsButton, &QPushButton::clicked, this, &InstallerController::showNews);
    connect(window->mSettingsFolderButton, &QPushButton::clicked, this,
            &InstallerController::showSettingsFolder);
    connect(window->mStoreButton, &QPushButton::clicked, this, &InstallerController::gotostore);
    connect(window, &InstallerWindow::closedByUser, this,
            [this] { QTimer::singleShot(1000, this, &InstallerController::quitRequested); });

    const InstallScript script = InstallScriptReader::readScriptInFolder(mResourceFolder);
    mAppName = script.appName;
    mAppNewsName = script.newsName;
    mAppPath = script.bundleName.isEmpty() ? QString()
                                           : mResourceFolder + QLatin1Char('/') + script.bundleName;
    mInstallSteps = script.installSteps;
    mUninstallSteps = script.uninstallSteps;
    mUninstallIgnoreSettingsSteps = script.uninstallIgnoreSettingsSteps;

    if (!script.iconName.isEmpty()) {
        const QIcon icon(mResourceFolder + QLatin1Char('/') + script.iconName);
        window->mAppIcon->setPixmap(icon.pixmap(64, 64));
        window->setWindowIcon(icon);
        QApplication::setWindowIcon(icon);
    }
    window->mAppName->setText(mAppName);
    window->setWindowTitle(mAppName.isEmpty() ? text("WindowTitleNoProduct")
                                              : text("WindowTitle").arg(mAppName));
    window->mNewsButton->setEnabled(!mAppNewsName.isEmpty());
    const QString store = text("WebStore");
    window->mStoreButton->setVisible(store.startsWith(QLatin1String("https://")));
    window->mSimulateTrashErrorOption->setChecked(false);
    window->mSimulateTrashErrorOption->hide();
    showVersions();

    window->mInstallButton->setEnabled(InstallScript::stepCount(mInstallSteps) > 0);
    window->mUninstallButton->setEnabled(InstallScript::stepCount(mUninstallSteps) > 0);
    window->mInstallInfoButton->setEnabled(window->mInstallButton->isEnabled());
    window->mUninstallInfoButton->setEnabled(window->mUninstallButton->isEnabled());
    // Return installs, as the window's first and main choice.
    window->mInstallButton->setDefault(window->mInstallButton->isEnabled());
    if (window->mInstallButton->isEnabled())
        window->mInstallButton->setFocus();
    window->adjustSize();
    QOR_WindowsUtils::placeWindow(window, 0.5, 0.75);
    window->show();
    WindowFocus::bringToFront(window);
    QOR_WindowsUtils::placeWindow(window->mNewsWindow, 0.5, 0.5);
    if (!script.isCorrect())
        QOR_WindowsUtils::modalCriticalAlertForWindow(window, text("ERROR !"), scriptProblem(),
                                                      text("OKButton"), {}, {});
}

QString InstallerController::scriptProblem() const
{
    const QString script = mResourceFolder + QLatin1Char('/') + InstallScriptReader::FileName;
    if (QFileInfo::exists(script))
        return text("The script file 'installscript.txt' is not correct.");
    // The program alone, as the build leaves it in its bin folder: the folder to run is built
    // beside that bin folder.
    const QDir programFolder = QFileInfo(mResourceFolder).dir();
    QString build = programFolder.dirName() == QLatin1String("bin")
        ? QFileInfo(programFolder.absolutePath()).path()
        : QStringLiteral("build");
    if (build.contains(QLatin1Char(' ')))
        build = QLatin1Char('"') + build + QLatin1Char('"');
    // The commands on lines of their own, unbroken, to be copied as they stand.
    const QString commands =
        QStringLiteral("cmake --build %1 --target korvale_installer_folder\n%1/qor-installer/"
                       "qor-installer")
            .arg(build);
    QString said = text("ScriptMissingText").arg(script).toHtmlEscaped();
    said.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return QStringLiteral("<p>%1</p><pre>%2</pre>").arg(said, commands.toHtmlEscaped());
}

void InstallerController::showVersions()
{
    InstallerWindow *window = mWindow.get();
    if (InstallScript::stepCount(mInstallSteps) == 0 || !QFileInfo(mAppPath).isDir())
        return;
    const QString newVersion = InstallPaths::bundleVersion(mAppPath);
    window->mAppVersion->setText(text("AppVersion").arg(newVersion));
    const QString news =
        mAppPath + QStringLiteral("/share/korvale/") + mAppNewsName + QStringLiteral(".html");
    if (!mAppNewsName.isEmpty()) {
        const BoundedFile::Result read = BoundedFile::read(news, BoundedFile::Limit::InstallerNews);
        if (read.isRead())
            window->mNewsText->setHtml(QString::fromUtf8(read.bytes));
    }

    const QString oldVersion = InstallPaths::bundleVersion(installedCopyPath());
    mOldVersionExists = !oldVersion.isEmpty();
    mSameVersion = mOldVersionExists && oldVersion == newVersion;
    if (mOldVersionExists) {
        window->mInstallVersion->setText(
            text(mSameVersion ? "VersionInstallSameVersion" : "VersionInstall")
                .arg(oldVersion, mAppName));
        window->mUninstallVersion->setText(text("VersionUninstall").arg(oldVersion, mAppName));
    } else {
        window->mInstallVersion->setText(text("NoVersionInstall").arg(mAppName));
        window->mUninstallVersion->setText(text("NoVersionUninstall").arg(mAppName));
    }
    // A longer line after a run (in French, the installed version takes four lines) would be cut.
    window->adjustSize();
}

int InstallerController::alert(bool critical, const char *title, const QString &message,
                               const char *defaultButton, const char *alternateButton)
{
    const QString alternate = alternateButton ? text(alternateButton) : QString();
    return critical ? QOR_WindowsUtils::modalCriticalAlertForWindow(
               mWindow.get(), text(title), message, text(defaultButton), alternate, {})
                    : QOR_WindowsUtils::modalAlertForWindow(mWindow.get(), text(title), message,
                                                            text(defaultButton), alternate, {});
}

void InstallerController::install()
{
    if (isRunning() || InstallScript::stepCount(mInstallSteps) == 0)
        return;
    const QString question = mOldVersionExists ? text("InstallAlertText").arg(mAppName)
                                               : text("InstallAlertNewVersionText").arg(mAppName);
    if (alert(false, "InstallAlertTitle", question, "OKButton", "CancelButton") != 1)
        return;
    mInstallMode = true;
    startRun(*mInstallSteps, QStringLiteral("Installing"));
}

void InstallerController::uninstall()
{
    if (isRunning())
        return;
    const bool removeSettings = mWindow->mRemoveSettingsOption->isChecked();
    const QString question = removeSettings
        ? text("UninstallAlertText").arg(mAppName)
        : text("UninstallIgnoreSettingsAlertText").arg(mAppName);
    if (alert(false, "UninstallAlertTitle", question, "OKButton", "CancelButton") != 1)
        return;
    mInstallMode = false;
    const std::optional<QStringList> &steps =
        removeSettings ? mUninstallSteps : mUninstallIgnoreSettingsSteps;
    startRun(steps.value_or(QStringList()), QStringLiteral("Uninstalling"));
}

void InstallerController::startRun(const QStringList &steps, const QString &titleKey)
{
    ProgressSheet *sheet = mWindow->mProgressSheet;
    sheet->mTitle->setText(text(titleKey.toLatin1().constData()).arg(mAppName));
    // No sheets on X11: the dialog has a title bar of its own.
    sheet->setWindowTitle(sheet->mTitle->text());
    sheet->mInfo->clear();
    sheet->mSummary->clear();
    sheet->mCounter->setText(QString::number(InstallRun::actingSteps(steps).size()));
    sheet->open();

    mRun.mResourceFolder = mResourceFolder;
    mRun.mPaths = InstallPaths::forCurrentUser(QFileInfo(mAppPath).fileName());
    mRun.mPaths.applicationsFolder = mApplicationsFolder;
    mRun.mPaths.installedBundle = installedCopyPath();
    mRun.mSimulateTrashError = mWindow->mSimulateTrashErrorOption->isChecked();
    mWorker = QThread::create([this, steps] {
        const bool failed = mRun.run(steps);
        QMetaObject::invokeMethod(
            this, [this, failed] { endAction(failed); }, Qt::BlockingQueuedConnection);
    });
    connect(mWorker, &QThread::finished, mWorker, &QObject::deleteLater);
    mWorker->start();
}

void InstallerController::stop()
{
    mRun.mMustStop = true;
}

void InstallerController::quitForSignal()
{
    mQuitting = true;
    if (!isRunning()) {
        emit quitRequested();
        return;
    }
    mRun.mMustStop = true;
    // A question about a refused item would hold the worker until answered.
    if (QWidget *alert = QApplication::activeModalWidget();
        alert && alert != mWindow->mProgressSheet)
        alert->close();
}

void InstallerController::displayProgress(const QString &counter)
{
    QMetaObject::invokeMethod(
        this, [this, counter] { mWindow->mProgressSheet->mCounter->setText(counter); },
        Qt::BlockingQueuedConnection);
}

void InstallerController::showProgressInfo(const QString &counter, const QString &info)
{
    QMetaObject::invokeMethod(
        this,
        [this, counter, info] {
            ProgressSheet *sheet = mWindow->mProgressSheet;
            sheet->mInfo->setText(info);
            sheet->mSummary->moveCursor(QTextCursor::End);
            sheet->mSummary->insertPlainText(QStringLiteral("%1 - %2\n").arg(counter, info));
            sheet->mSummary->verticalScrollBar()->setValue(
                sheet->mSummary->verticalScrollBar()->maximum());
        },
        Qt::BlockingQueuedConnection);
}

bool InstallerController::askAboutRefusedItem(const QString &path)
{
    QMetaObject::invokeMethod(
        this,
        [this, path] {
            mWorkspace->revealPath(path);
            // Shown again until one of its two buttons answers it.
            int answer = 0;
            while (!mQuitting) {
                answer = alert(true, "ErrorTrashTitle", text("ErrorTrashText").arg(path),
                               "ContinueRemovedButton", "InterruptButton");
                if (answer == 1 || answer == 0)
                    break;
            }
            mAlertResponse = answer == 1;
        },
        Qt::BlockingQueuedConnection);
    return mAlertResponse;
}

bool InstallerController::launchApplication(const QString &path)
{
    mRun.mErrorLaunchApplication = false;
    if (mRun.mSimulateTrashError)
        return true;
    if (mWorkspace->launchApplication(path))
        return true;
    mRun.mErrorLaunchApplication = true;
    return false;
}

void InstallerController::endAction(bool failed)
{
    InstallerWindow *window = mWindow.get();
    if (window->mProgressSheet->isVisible())
        window->mProgressSheet->done(0);
    mWorker = nullptr;
    // Behind the report, the window already says what is installed now.
    showVersions();
    if (mQuitting) {
        emit runEnded(failed);
        emit quitRequested();
        return;
    }

    bool quit = true;
    if (failed) {
        const char *message = "InstallationAbortedWithErrorsText";
        if (!mAppPath.isEmpty()) {
            if (QFileInfo::exists(mAppPath))
                mWorkspace->revealPath(mAppPath);
            else
                mWorkspace->openPath(QFileInfo(mAppPath).path());
            if (QFileInfo::exists(installedCopyPath())) {
                message = "InstallationDeletedAbortedWithErrorsText";
                mWorkspace->revealPath(installedCopyPath());
            } else {
                mWorkspace->openPath(mApplicationsFolder);
            }
        }
        WindowFocus::bringToFront(window);
        quit = alert(true, "InstallationAbortedWithErrorsTitle",
                     text(message).arg(mRun.errorList()), "QuitButton", "ContinueButton")
            == 1;
    } else if (mRun.stoppedByUser()) {
        quit = alert(false, "InstallationAbortedByUserTitle", text("InstallationAbortedByUserText"),
                     "QuitButton", "ContinueButton")
            == 1;
    } else if (mInstallMode) {
        const bool launch =
            alert(false, "InstallationCompletedTitle",
                  text("InstallationCompletedText").arg(mAppName), "LaunchButton", "QuitButton")
            == 1;
        if (launch) {
            for (const QString &step : mInstallSteps.value_or(QStringList())) {
                if (step.startsWith(InstallScript::LaunchTag))
                    launchApplication(mRun.mPaths.expand(step.section(QLatin1Char('\t'), 1, 1)));
            }
        }
    } else {
        quit =
            alert(false, "UninstallationCompletedTitle",
                  text("UninstallationCompletedText").arg(mAppName), "QuitButton", "ContinueButton")
            == 1;
    }
    emit runEnded(failed);
    if (quit)
        QTimer::singleShot(500, this, &InstallerController::quitRequested);
}

QStringList InstallerController::stepsWithPaths(const std::optional<QStringList> &steps) const
{
    InstallPaths paths = InstallPaths::forCurrentUser(QFileInfo(mAppPath).fileName());
    paths.applicationsFolder = mApplicationsFolder;
    QStringList expanded;
    for (const QString &step : steps.value_or(QStringList())) {
        QStringList fields = step.split(QLatin1Char('\t'));
        for (qsizetype field = 1; field < fields.size(); ++field)
            fields[field] = paths.expand(fields.at(field));
        expanded.append(fields.join(QLatin1Char('\t')));
    }
    return expanded;
}

void InstallerController::showInstallInformation()
{
    mWindow->mInfoDrawer->setPlainText(
        InstallScriptReader::stepDescriptions(stepsWithPaths(mInstallSteps), mAppName, true));
    mWindow->setDrawerOpen(!mWindow->mInfoDrawer->isVisible());
}

void InstallerController::showUninstallInformation(bool fromCheckBox)
{
    const std::optional<QStringList> &steps = mWindow->mRemoveSettingsOption->isChecked()
        ? mUninstallSteps
        : mUninstallIgnoreSettingsSteps;
    mWindow->mInfoDrawer->setPlainText(
        InstallScriptReader::stepDescriptions(stepsWithPaths(steps), mAppName, false));
    if (!fromCheckBox)
        mWindow->setDrawerOpen(!mWindow->mInfoDrawer->isVisible());
}

void InstallerController::showNews()
{
    mWindow->mNewsWindow->show();
    WindowFocus::bringToFront(mWindow->mNewsWindow);
}

void InstallerController::showSettingsFolder()
{
    mWorkspace->openPath(mResourceFolder);
}

void InstallerController::gotostore()
{
    const QString store = text("WebStore");
    if (store.startsWith(QLatin1String("https://")))
        mWorkspace->openUrl(QUrl(store));
}
