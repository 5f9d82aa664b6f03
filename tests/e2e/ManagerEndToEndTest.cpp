// The manager beside the real agent in a private session: what the user puts in through the
// manager's sheets is what the agent then finds and opens.
#include "E2eManager.h"
#include "E2eSupport.h"

#include "CommonKorvaleClass.h"
#include "CornerActivationSheet.h"
#include "ItemEditorSheet.h"
#include "KeyActivationSheet.h"
#include "KeyMap.h"
#include "MainController.h"
#include "QOR_StringUtils.h"
#include "SectionViews.h"
#include "SharedPreferences.h"
#include "ShortcutCaptureSheet.h"
#include "ShortcutSectionView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString WindowTitle = QStringLiteral("Zephyr shortcut window");

QString writeEntry(const QString &path, const QString &name)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile entry(path);
    entry.open(QIODevice::WriteOnly);
    entry.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\n"
                               "Exec=%2 \"%3\"\nTerminal=false\n")
                    .arg(name, builtProgram("bin/korvale-test-window"), WindowTitle)
                    .toUtf8());
    return path;
}

class ManagerEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_SESSION();
        QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
    }

    // The manager as the user starts it, with the agent already running beside it.
    std::unique_ptr<MainController> startManager() { return startManagerInProcess(); }

    static QStringList search(const QString &query)
    {
        const ProgramRun run = runProgram(builtProgram("bin/korvale-search"), {query});
        return QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    TemporaryHome home;
    AgentProcess agent;
};

} // namespace

TEST_F(ManagerEndToEnd, AnAbbreviationGivenInTheEditorFindsTheApplicationFirst)
{
    const QString entry =
        writeEntry(qEnvironmentVariable("XDG_DATA_HOME") + "/applications/korvale-e2e-qlx.desktop",
                   "Quillex Writer");
    agent.start();
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    ASSERT_TRUE(waitFor(
        [&] {
            const QVariantList apps =
                CommonKorvaleClass::readListInFile(DataFileName::Applications);
            return std::any_of(apps.cbegin(), apps.cend(), [&](const QVariant &app) {
                return app.toMap().value("P").toString() == entry;
            });
        },
        30000));

    auto manager = startManager();
    ApplicationsFoundView *view = manager->applicationsView();
    view->searchField()->setText("quillex");
    ASSERT_EQ(manager->applicationsFoundDisplayed().size(), 1);
    ItemEditorSheet *editor = manager->itemEditor();
    QObject::connect(editor, &ItemEditorSheet::running, editor, [editor] {
        editor->abbreviationField()->setText("zq");
        editor->accept();
    });
    manager->editApplication(0);

    // The agent reads the newer list at its next check.
    EXPECT_TRUE(waitFor(
        [] {
            const QStringList lines = search("zq");
            return !lines.isEmpty() && lines.first().contains("Quillex Writer");
        },
        30000))
        << search("zq").join('\n').toStdString();
}

TEST_F(ManagerEndToEnd, AShortcutCapturedFromTheKeyboardOpensTheFile)
{
    const QString file = writeEntry(home.path() + "/Tools/zephyr.desktop", "Zephyr Tool");
    {
        SharedPreferences preferences;
        preferences.setValue(
            "FilesList", QVariantList{QVariantMap{{"x", 2}, {"P", file}, {"T", "zephyr.desktop"}}});
        ASSERT_TRUE(preferences.synchronize());
    }
    agent.start();
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    auto manager = startManager();
    ASSERT_EQ(manager->files().size(), 1);

    const KeyMap controlOptionK = KeyMap::ofKeys({VirtualKey::Control, VirtualKey::Option, 40});
    ShortcutCaptureSheet *sheet = manager->shortcutSheet();
    ItemEditorSheet *editor = manager->itemEditor();
    int editorRuns = 0;
    QObject::connect(editor, &ItemEditorSheet::running, editor, [&] {
        if (++editorRuns > 1) {
            editor->accept();
            return;
        }
        // The capture sheet runs once the assign button ended this run: hold the keys still
        // until it takes them, as a user holds them for two seconds.
        QTimer::singleShot(300, sheet, [&] {
            xdotool({"keydown", "ctrl+alt+k"});
            EXPECT_TRUE(waitFor([&] { return sheet->taken() == controlOptionK; }, 10000))
                << sheet->shownKeys().toStdString();
            xdotool({"keyup", "ctrl+alt+k"});
            sheet->accept();
        });
        editor->assignButton()->click();
    });
    manager->editFileFolder(0);
    ASSERT_EQ(editorRuns, 2);
    const QVariantMap stored = SharedPreferences().value("FilesList").toList().value(0).toMap();
    ASSERT_EQ(KeyMap::fromData(stored.value(">").toByteArray()), controlOptionK);

    // The agent heard "SettingChanged": the keys now open the file, a program here. Once the
    // keys were heard, a loaded machine may take long to show the program.
    ASSERT_TRUE(waitFor(
        [&] {
            xdotool({"keydown", "ctrl+alt+k", "sleep", "0.6", "keyup", "ctrl+alt+k"});
            return waitFor([] { return activeWindowName() == WindowTitle; }, 5000);
        },
        40000))
        << "active window: " << activeWindowName().toStdString() << "\n"
        << agent.log().toStdString();
}

// The agent takes a gesture changed in the manager without a restart: Ctrl instead of Super for
// the double tap, then a screen corner.
TEST_F(ManagerEndToEnd, TheAgentFollowsTheGesturesChangedInTheShortcutSection)
{
    agent.start();
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    auto manager = startManager();
    ShortcutSectionView *view = manager->shortcutView();
    const auto visible = [] {
        return accessWindowState().value(QStringLiteral("visible")).toBool();
    };
    const auto closeWindow = [&] {
        callAccessWindow(QStringLiteral("Close"));
        return waitFor([&] { return !visible(); }, 5000);
    };

    KeyActivationSheet *keys = manager->keyActivationSheet();
    QObject::connect(keys, &KeyActivationSheet::running, keys, [keys] {
        keys->modifier()->setCurrentIndex(2);
        keys->accept();
    });
    view->changeKeyButton()->click();
    ASSERT_EQ(view->keySummary(), "Ctrl tapped twice");
    // Told at once, the agent rereads its settings shortly after: tap until it answers.
    ASSERT_TRUE(waitFor(
        [&] {
            xdotool(doubleTapOf("ctrl"));
            return waitFor(visible, 1000);
        },
        15000))
        << agent.log().toStdString();
    ASSERT_TRUE(closeWindow());
    xdotool(doubleTapOfSuper());
    EXPECT_FALSE(waitFor(visible, 1500)) << "Super is no longer the gesture";
    ASSERT_TRUE(closeWindow());

    // The top right corner with Super held.
    CornerActivationSheet *corner = manager->cornerActivationSheet();
    QObject::connect(corner, &CornerActivationSheet::running, corner, [corner] {
        corner->corner()->setCurrentIndex(1);
        corner->superBox()->setChecked(true);
        corner->accept();
    });
    view->changeCornerButton()->click();
    view->cornerBox()->click();
    const QSize screen = screenSize();
    movePointerTo(screen.width() - 5, 5);
    xdotool({"keydown", "super"});
    const bool opened = waitFor(visible, 15000);
    xdotool({"keyup", "super"});
    movePointerTo(screen.width() / 2, screen.height() / 2);
    EXPECT_TRUE(opened) << agent.log().toStdString();
}
