#include "InstallerWindow.h"
#include "InstallScript.h"
#include "InstallerController.h"
#include "InstallerSystem.h"
#include "QOR_StringUtils.h"
#include "TestEnvironment.h"
#include "platform/Workspace.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdlib>

namespace {

// The real window on the session's display when there is one (scripts/with-session.sh).
[[maybe_unused]] const int useDisplay =
    std::getenv("DISPLAY") ? setenv("KORVALE_TEST_USE_DISPLAY", "1", 0) : 0;

QString text(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKeyTable(QLatin1String(key),
                                                          InstallScriptReader::Table);
}

QString screenshotFolder()
{
    const QString folder = QStringLiteral(KORVALE_BINARY_DIR "/installer-screenshots");
    QDir().mkpath(folder);
    return folder;
}

void screenshot(const QString &name)
{
    QApplication::primaryScreen()->grabWindow(0).save(screenshotFolder() + QLatin1Char('/') + name);
}

// Answers the alerts as they come, in order, by the text of the button a user would click; takes
// the progress sheet's picture once it holds a few lines.
class AlertAnswers : public QObject
{
public:
    QStringList answers;
    QStringList titles;
    QStringList messages;
    bool sheetShot = false;
    // Guarded: the timer goes on between one installer's end and the next one's window.
    QPointer<InstallerWindow> window;
    // Taken of the screen before the first answer, when set.
    QString alertShot;
    // The window's installed-version line while each alert was up.
    QStringList installedLines;

    AlertAnswers()
    {
        mTimer.setInterval(100);
        QObject::connect(&mTimer, &QTimer::timeout, this, [this] { look(); });
        mTimer.start();
    }

private:
    void look()
    {
        if (window && !sheetShot && window->mProgressSheet->isVisible() && atLastStep()) {
            sheetShot = true;
            screenshot(QStringLiteral("installer-progress.png"));
        }
        for (QWidget *widget : QApplication::allWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            if (!box || !box->isVisible() || answers.isEmpty())
                continue;
            for (QAbstractButton *button : box->buttons()) {
                if (button->text() == answers.first()) {
                    if (!answered(box))
                        return;
                    answers.removeFirst();
                    button->click();
                    return;
                }
            }
        }
        // Window-modal alerts are children of the window rather than top-level widgets.
        if (window) {
            for (QMessageBox *box : window->findChildren<QMessageBox *>()) {
                if (!box->isVisible() || answers.isEmpty())
                    continue;
                for (QAbstractButton *button : box->buttons()) {
                    if (button->text() == answers.first()) {
                        if (!answered(box))
                            return;
                        answers.removeFirst();
                        button->click();
                        return;
                    }
                }
            }
        }
    }
    // The sheet holds every line of the run: the counter says the last step, whose line is in.
    bool atLastStep() const
    {
        const QStringList counter = window->mProgressSheet->mCounter->text().split('/');
        return counter.size() == 2 && counter.at(0) == counter.at(1)
            && window->mProgressSheet->mSummary->toPlainText().contains(
                window->mProgressSheet->mCounter->text() + QStringLiteral(" - "));
    }
    // False while an alert to be photographed has not yet had the time to be painted.
    bool answered(QMessageBox *box)
    {
        if (!alertShot.isEmpty()) {
            if (mSeen != box) {
                mSeen = box;
                return false;
            }
            screenshot(alertShot);
            alertShot.clear();
        }
        titles.append(box->text());
        messages.append(box->informativeText());
        if (window)
            installedLines.append(window->mInstallVersion->text());
        return true;
    }
    QTimer mTimer;
    QPointer<QMessageBox> mSeen;
};

// Waits, with the event loop running, until `done` holds or a minute has passed.
template <class Done> bool waitUntil(Done done)
{
    for (int waited = 0; waited < 600 && !done(); ++waited)
        QTest::qWait(100);
    return done();
}

class InstallerWindowTest : public ::testing::Test
{
protected:
    TemporaryHome home;
    const QString resources = QStringLiteral(KORVALE_BINARY_DIR "/qor-installer/resources");
    QString prefix() const { return home.path() + QStringLiteral("/.local/opt/korvale"); }

    std::unique_ptr<InstallerController> start() { return start(resources); }
    std::unique_ptr<InstallerController> start(const QString &resourceFolder)
    {
        auto controller = std::make_unique<InstallerController>(
            resourceFolder, std::make_unique<InstallerSystem>(), Workspace::createLinux());
        controller->setApplicationsFolder(home.path() + QStringLiteral("/.local/opt"));
        controller->setUpWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(controller->window()));
        return controller;
    }
};

TEST_F(InstallerWindowTest, InstallsThroughTheWindowThenUninstallsKeepingTheSettings)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs a window system: scripts/with-session.sh";
    ASSERT_TRUE(QFileInfo::exists(resources + QStringLiteral("/installscript.txt")));
    QOR_StringUtils::installTranslations(QLocale(QLocale::English));
    InstallerSystem system;
    auto installer = start();
    InstallerWindow *window = installer->window();
    EXPECT_EQ(window->mAppName->text(), "Korvale");
    EXPECT_TRUE(window->mInstallButton->isEnabled());
    EXPECT_EQ(window->mInstallVersion->text(), text("NoVersionInstall").arg("Korvale"));
    window->mInstallInfoButton->click();
    EXPECT_TRUE(window->mInfoDrawer->isVisible());
    QTest::qWait(300);
    screenshot(QStringLiteral("installer-window.png"));
    window->mInstallInfoButton->click();
    EXPECT_FALSE(window->mInfoDrawer->isVisible());

    AlertAnswers answers;
    answers.window = window;
    answers.answers = {text("OKButton"), text("LaunchButton")};
    QSignalSpy ended(installer.get(), &InstallerController::runEnded);
    QSignalSpy quit(installer.get(), &InstallerController::quitRequested);
    window->mInstallButton->click();
    ASSERT_TRUE(waitUntil([&] { return !quit.isEmpty(); }));
    EXPECT_EQ(ended.size(), 1);
    EXPECT_FALSE(ended.first().first().toBool());
    EXPECT_TRUE(answers.sheetShot);
    EXPECT_EQ(answers.titles,
              QStringList({text("InstallAlertTitle"), text("InstallationCompletedTitle")}));
    // Behind the report, the window already says the suite is installed.
    const QString version = InstallPaths::bundleVersion(resources + QStringLiteral("/korvale"));
    EXPECT_EQ(answers.installedLines.value(1),
              text("VersionInstallSameVersion").arg(version, QStringLiteral("Korvale")));
    // The progress list starts at its first step and ends at its last.
    const QStringList progress =
        window->mProgressSheet->mSummary->toPlainText().split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_TRUE(progress.first().startsWith(QStringLiteral("1/%1 - ").arg(progress.size())))
        << progress.join('\n').toStdString();
    EXPECT_TRUE(progress.last().startsWith(QStringLiteral("%1/%1 - ").arg(progress.size())));

    // "Launch" started the agent from the prefix; the launcher finds the manager.
    EXPECT_TRUE(waitUntil([&] { return !system.processesStartedFrom(prefix()).isEmpty(); }));
    EXPECT_TRUE(QFileInfo::exists(
        home.path() + QStringLiteral("/.local/share/applications/korvale-manager.desktop")));
    EXPECT_TRUE(QFileInfo::exists(
        home.path() + QStringLiteral("/.config/autostart/org.korvale.Daemon.desktop")));
    installer.reset();

    // The installer again: it sees the installed copy; uninstall with the settings kept.
    auto uninstaller = start();
    window = uninstaller->window();
    EXPECT_TRUE(window->mInstallVersion->text().contains(
        InstallPaths::bundleVersion(resources + QStringLiteral("/korvale"))));
    EXPECT_FALSE(window->mRemoveSettingsOption->isChecked());
    QFile notes(home.dataFolder() + QStringLiteral("/Notes.krvdata"));
    QDir().mkpath(home.dataFolder());
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();
    answers.window = window;
    answers.answers = {text("OKButton"), text("QuitButton")};
    QSignalSpy uninstallQuit(uninstaller.get(), &InstallerController::quitRequested);
    window->mUninstallButton->click();
    ASSERT_TRUE(waitUntil([&] { return !uninstallQuit.isEmpty(); }));
    EXPECT_EQ(answers.titles.last(), text("UninstallationCompletedTitle"));

    EXPECT_TRUE(system.processesStartedFrom(prefix()).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(prefix()));
    EXPECT_FALSE(QFileInfo::exists(
        home.path() + QStringLiteral("/.local/share/applications/korvale-manager.desktop")));
    EXPECT_FALSE(QFileInfo::exists(
        home.path() + QStringLiteral("/.local/share/applications/korvale-browser.desktop")));
    EXPECT_FALSE(QFileInfo::exists(
        home.path() + QStringLiteral("/.config/autostart/org.korvale.Daemon.desktop")));
    EXPECT_FALSE(QFileInfo::exists(
        home.path() + QStringLiteral("/.local/share/icons/hicolor/scalable/apps/korvale.svg")));
    EXPECT_TRUE(QFileInfo::exists(notes.fileName()));
}

// The program alone, as the build leaves it in its bin folder, has no script beside it: the alert
// names the missing file and the command that builds the folder to run instead; the title has
// no product name to show and does without it.
TEST_F(InstallerWindowTest, WithoutItsScriptSaysWhatIsMissingAndHowToBuildTheInstallerFolder)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs a window system: scripts/with-session.sh";
    for (const QLocale::Language language : {QLocale::English, QLocale::French}) {
        QOR_StringUtils::installTranslations(QLocale(language));
        QTemporaryDir build;
        const QString programResources = build.filePath(QStringLiteral("bin/resources"));
        AlertAnswers answers;
        answers.answers = {text("OKButton")};
        answers.alertShot =
            QStringLiteral("installer-no-script-%1.png").arg(QLocale(language).name().left(2));
        auto installer = start(programResources);
        ASSERT_TRUE(waitUntil([&] { return answers.answers.isEmpty(); }));
        EXPECT_EQ(answers.titles.value(0), text("ERROR !"));
        const QString message = answers.messages.value(0);
        EXPECT_TRUE(message.contains(programResources + QStringLiteral("/installscript.txt")))
            << message.toStdString();
        EXPECT_TRUE(message.contains(
            QStringLiteral("cmake --build %1 --target korvale_installer_folder").arg(build.path())))
            << message.toStdString();
        EXPECT_TRUE(
            message.contains(build.path() + QStringLiteral("/qor-installer/qor-installer")));
        EXPECT_EQ(installer->window()->windowTitle(), text("WindowTitleNoProduct"));
        EXPECT_FALSE(installer->window()->windowTitle().startsWith(QLatin1Char(' ')));
        EXPECT_FALSE(installer->window()->mInstallButton->isEnabled());
    }
    QOR_StringUtils::installTranslations(QLocale(QLocale::English));
}

} // namespace
