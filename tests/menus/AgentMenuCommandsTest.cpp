#include "AccessMenus.h"
#include "AccessWindowController.h"
#include "AgentAccess.h"
#include "AgentMenus.h"
#include "DaemonController.h"
#include "DaemonHooks.h"
#include "ItemRecord.h"
#include "MainWindow.h"
#include "QOR_StringUtils.h"
#include "SearchField.h"
#include "SharedPreferences.h"
#include "TableView.h"
#include "TestEnvironment.h"
#include "platform/NotificationCenter.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The agent's answers: the quit alert answered as the test says, the manager running.
class CommandHooks : public DaemonHooks
{
public:
    int alerts = 0;
    bool quitAnswer = false;
    bool confirmQuit() override
    {
        ++alerts;
        return quitAnswer;
    }
    bool isMainAppLaunched() override { return true; }
};

// The agent's access side and menus over a temporary home, its notifications kept in the process.
class AgentMenuCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
        mPreferences = std::make_unique<SharedPreferences>();
        DaemonController::Environment environment;
        environment.preferences = mPreferences.get();
        environment.hooks = mHooks;
        environment.notifications = mNotifications;
        environment.quitApplication = [this] { ++mQuits; };
        mDaemon = std::make_unique<DaemonController>(environment);
        mDaemon->readMainSettings();
        mAccess = std::make_unique<AgentAccess>(*mDaemon, AgentAccess::Environment());
        AgentMenus::Environment menus;
        menus.volumes = [] { return QVariantList(); };
        menus.mounts = [] { return QList<MountTable::Mount>(); };
        menus.clipboardText = [] { return std::optional<QString>(); };
        menus.clipboardFile = [] { return QString(); };
        menus.trayIcon = false;
        mMenus = std::make_unique<AgentMenus>(*mDaemon, *mAccess, std::move(menus));
    }

    void TearDown() override
    {
        mMenus.reset();
        mAccess.reset();
        mDaemon.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static QAction *entry(const QMenu *menu, const QString &key)
    {
        const QString title = QOR_StringUtils::getLocalizedStringForKey(key);
        for (QAction *action : menu->actions()) {
            if (action->text() == title)
                return action;
        }
        ADD_FAILURE() << "no entry " << key.toStdString();
        return nullptr;
    }
    QAction *accessEntry(const QString &key)
    {
        mAccess->window().window();
        return entry(mAccess->window().window()->findChild<AccessMenus *>()->actionMenu(), key);
    }

    TemporaryHome mHome;
    std::unique_ptr<SharedPreferences> mPreferences;
    std::shared_ptr<CommandHooks> mHooks = std::make_shared<CommandHooks>();
    std::shared_ptr<NotificationCenter> mNotifications{NotificationCenter::createLocalCenter()};
    int mQuits = 0;
    std::unique_ptr<DaemonController> mDaemon;
    std::unique_ptr<AgentAccess> mAccess;
    std::unique_ptr<AgentMenus> mMenus;
};

} // namespace

// Quit is offered by the menu-bar menu (and so the tray) and the access window's action menu;
// each asks through the alert first, and only its Quit button ends the agent.
TEST_F(AgentMenuCommandsTest, QuitFromEitherMenuAsksThroughTheAlert)
{
    QAction *fromMenuBar = entry(mMenus->createMenubarMenu(), QStringLiteral("PopupMenuQuit"));
    ASSERT_NE(fromMenuBar, nullptr);
    fromMenuBar->trigger();
    ASSERT_TRUE(QTest::qWaitFor([this] { return mHooks->alerts == 1; }, 2000));
    QAction *fromAccess = accessEntry(QStringLiteral("PopupMenuQuit"));
    ASSERT_NE(fromAccess, nullptr);
    EXPECT_EQ(fromAccess->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    fromAccess->trigger();
    ASSERT_TRUE(QTest::qWaitFor([this] { return mHooks->alerts == 2; }, 2000));
    EXPECT_EQ(mQuits, 0) << "cancelled twice";

    mHooks->quitAnswer = true;
    fromAccess->trigger();
    ASSERT_TRUE(QTest::qWaitFor([this] { return mQuits == 1; }, 2000));
    EXPECT_EQ(mHooks->alerts, 3);
}

// Help in the access window asks the manager, which holds the tour, to show it.
TEST_F(AgentMenuCommandsTest, HelpAsksTheManagerForTheTour)
{
    ASSERT_TRUE(mNotifications->observe(NotificationChannel::Main));
    QStringList received;
    QObject::connect(mNotifications.get(), &NotificationCenter::notificationReceived,
                     [&received](const QString &channel, const QString &object,
                                 const QVariantMap &) { received << channel + ':' + object; });
    QAction *help = accessEntry(QStringLiteral("PopupMenuHelp"));
    ASSERT_NE(help, nullptr);
    help->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !received.isEmpty(); }, 2000));
    EXPECT_EQ(received, QStringList{NotificationChannel::Main + ":ShowQuickTour"});
}

// Right arrow, Escape, then typing: the letters go on the query in the search field, not to the
// list's type-ahead.
TEST_F(AgentMenuCommandsTest, TypingAfterAFloatingMenuGoesToTheSearchField)
{
    AccessWindowController &window = mAccess->window();
    window.doOpenAccessWindow();
    window.window()->activateWindow();
    window.searchField()->setText(QStringLiteral("fire"));
    window.tableView()->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.tableView()->hasFocus(); }, 2000));

    const QVariantMap folder{{ItemRecord::KeyKind, int(ItemRecord::KindFile)},
                             {ItemRecord::KeyPath, mHome.path()}};
    mMenus->showFloatingMenu(folder, window.window()->geometry().center(), false);
    QMenu *menu = mMenus->floatingMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000));
    QTest::keyClick(menu, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([menu] { return !menu->isVisible(); }, 2000));

    ASSERT_TRUE(QTest::qWaitFor([&] { return window.searchField()->hasFocus(); }, 2000));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("fox"));
    EXPECT_EQ(window.searchField()->text(), QStringLiteral("firefox"));
}
