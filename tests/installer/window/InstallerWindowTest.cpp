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
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
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
    bool sheetShot = false;
    InstallerWindow *window = nullptr;

    AlertAnswers()
    {
        mTimer.setInterval(100);
        QObject::connect(&mTimer, &QTimer::timeout, this, [this] { look(); });
        mTimer.start();
    }

private:
    void look()
    {
        if (window && !sheetShot && window->mProgressSheet->isVisible()
            && window->mProgressSheet->mSummary->toPlainText().count(QLatin1Char('\n')) >= 3) {
            sheetShot = true;
            screenshot(QStringLiteral("installer-progress.png"));
        }
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            if (!box || !box->isVisible() || answers.isEmpty())
                continue;
            for (QAbstractButton *button : box->buttons()) {
                if (button->text() == answers.first()) {
                    titles.append(box->text());
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
                        titles.append(box->text());
                        answers.removeFirst();
                        button->click();
                        return;
                    }
                }
            }
        }
    }
    QTimer mTimer;
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

    std::unique_ptr<InstallerController> start()
    {
        auto controller = std::make_unique<InstallerController>(
            resources, std::make_unique<InstallerSystem>(), Workspace::createLinux());
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

    // "Launch" started the agent from the prefix; the launcher finds the manager.
    EXPECT_TRUE(waitUntil([&] { return !system.processesStartedFrom(prefix()).isEmpty(); }));
    EXPECT_TRUE(QFileInfo::exists(
        home.path() + QStringLiteral("/.local/share/applications/korvale-manager.desktop")));
    EXPECT_TRUE(QFileInfo::exists(home.path()
                                  + QStringLiteral("/.config/autostart/korvale-daemon.desktop")));
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
    EXPECT_FALSE(QFileInfo::exists(home.path()
                                   + QStringLiteral("/.config/autostart/korvale-daemon.desktop")));
    EXPECT_FALSE(QFileInfo::exists(
        home.path() + QStringLiteral("/.local/share/icons/hicolor/scalable/apps/korvale.svg")));
    EXPECT_TRUE(QFileInfo::exists(notes.fileName()));
}

} // namespace
