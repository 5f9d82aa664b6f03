#include "AccessIcons.h"
#include "AgentAccess.h"
#include "AgentMenus.h"
#include "DaemonController.h"
#include "QOR_StringUtils.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>

#include <gtest/gtest.h>

namespace {

// The agent's access side and menus over a temporary home, with or without a tray at start.
class AgentTrayTest : public ::testing::Test
{
protected:
    void start(bool trayAtStart)
    {
        QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
        mPreferences = std::make_unique<SharedPreferences>();
        DaemonController::Environment environment;
        environment.preferences = mPreferences.get();
        mDaemon = std::make_unique<DaemonController>(environment);
        mDaemon->readMainSettings();
        mAccess = std::make_unique<AgentAccess>(*mDaemon, AgentAccess::Environment());
        AgentMenus::Environment menus;
        menus.volumes = [] { return QVariantList(); };
        menus.mounts = [] { return QList<MountTable::Mount>(); };
        menus.clipboardText = [] { return std::optional<QString>(); };
        menus.clipboardFile = [] { return QString(); };
        menus.trayAvailable = [trayAtStart] { return trayAtStart; };
        mMenus = std::make_unique<AgentMenus>(*mDaemon, *mAccess, std::move(menus));
    }

    void TearDown() override
    {
        mMenus.reset();
        mAccess.reset();
        mDaemon.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The menu-bar menu's entries, as the tray's menu shows them once opened.
    static QStringList titles(const QMenu *menu)
    {
        QStringList list;
        for (const QAction *action : menu->actions()) {
            if (!action->isSeparator())
                list << action->text();
        }
        return list;
    }

    TemporaryHome mHome;
    std::unique_ptr<SharedPreferences> mPreferences;
    std::unique_ptr<DaemonController> mDaemon;
    std::unique_ptr<AgentAccess> mAccess;
    std::unique_ptr<AgentMenus> mMenus;
};

} // namespace

// A tray present at start gets the icon and its menu at once: a host that shows the menu itself
// reads it when the icon docks.
TEST_F(AgentTrayTest, TrayAtStartHasItsMenuAtOnce)
{
    start(true);
    ASSERT_NE(mMenus->trayIcon(), nullptr);
    EXPECT_TRUE(mMenus->trayIcon()->isVisible());
    ASSERT_NE(mMenus->trayMenu(), nullptr);
    EXPECT_EQ(mMenus->trayIcon()->contextMenu(), mMenus->trayMenu());
}

// Without a tray the icon is still shown, for a tray that comes later, but neither its image nor
// its menu is made; the first drawing of the icon (a tray docking it) brings the menu, which
// opens on the menu-bar menu's entries.
TEST_F(AgentTrayTest, TrayThatAppearsLaterGetsTheImageAndTheMenu)
{
    start(false);
    QSystemTrayIcon *tray = mMenus->trayIcon();
    ASSERT_NE(tray, nullptr);
    EXPECT_TRUE(tray->isVisible());
    EXPECT_EQ(mMenus->trayMenu(), nullptr);
    EXPECT_EQ(tray->contextMenu(), nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(mMenus->trayMenu(), nullptr);

    const QImage drawn = tray->icon().pixmap(QSize(22, 22)).toImage();
    EXPECT_EQ(drawn,
              AccessIcons::icon(QStringLiteral("icon_Agent")).pixmap(QSize(22, 22)).toImage());
    QCoreApplication::processEvents();
    ASSERT_NE(mMenus->trayMenu(), nullptr);
    EXPECT_EQ(tray->contextMenu(), mMenus->trayMenu());

    emit mMenus->trayMenu()->aboutToShow();
    EXPECT_TRUE(titles(mMenus->trayMenu())
                    .contains(QOR_StringUtils::getLocalizedStringForKey(
                        QStringLiteral("PopupMenuOpenAccessWindow"))))
        << titles(mMenus->trayMenu()).join(QLatin1Char('|')).toStdString();
}

// A click on an icon whose menu is not made yet (a host that never asked its image) opens the
// menu all the same.
TEST_F(AgentTrayTest, ClickBeforeAnyDrawingOpensTheMenu)
{
    start(false);
    emit mMenus->trayIcon()->activated(QSystemTrayIcon::Context);
    QMenu *menu = mMenus->trayMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_FALSE(titles(menu).isEmpty());
    menu->hide();
}
