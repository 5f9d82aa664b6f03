// The real agent told it runs in a Wayland session, with a stand-in for the desktop portal on
// the private bus: it binds the gestures' keys there, a press of the toggle brings the access
// window up with the focus, the manager's shortcut section shows the keys the desktop reports,
// and a changed item shortcut is bound again.
#include "E2eSupport.h"

#include "GlobalShortcutsPanel.h"
#include "KeyMap.h"
#include "PortalStandIn.h"
#include "SharedPreferences.h"
#include "platform/NotificationCenter.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace {

const QString ToggleId = QStringLiteral("toggle-access-window");

QString combinationId(const KeyMap &map)
{
    return QStringLiteral("keys-") + QString::fromLatin1(map.toData().toHex());
}

void storeShortcuts(const KeyMap &personal, const KeyMap &itemKeys)
{
    SharedPreferences preferences;
    preferences.setValue("ShortCutsActivated", 1);
    preferences.setValue("ShortCutsKeyPersonalValues", 1);
    preferences.setValue("ShortCutsKeyPersonalValuesData", personal.toData());
    preferences.setValue("FilesList",
                         QVariantList{QVariantMap{{"x", 2},
                                                  {"P", QStringLiteral("/etc/hosts")},
                                                  {"T", QStringLiteral("hosts")},
                                                  {">", itemKeys.toData()}}});
    ASSERT_TRUE(preferences.synchronize());
}

bool panelShows(const GlobalShortcutsPanel &panel, const QString &keys)
{
    for (const auto &[description, shown] : panel.rows()) {
        if (shown == keys)
            return true;
    }
    return false;
}

} // namespace

TEST(GlobalShortcutsEndToEnd, ThePortalsKeysOpenTheWindowAndFollowTheChangedShortcuts)
{
    REQUIRE_SESSION();
    TemporaryHome home;
    PortalStandIn portal;
    ASSERT_TRUE(portal.start());
    const KeyMap personal = KeyMap::ofKeys({VirtualKey::Control, VirtualKey::Shift, 1}); // S
    const KeyMap hostsKeys = KeyMap::ofKeys({VirtualKey::Control, VirtualKey::Option, 4}); // H
    storeShortcuts(personal, hostsKeys);

    AgentProcess agent;
    agent.start(
        {QStringLiteral("XDG_SESSION_TYPE=wayland"), QStringLiteral("QT_QPA_PLATFORM=xcb")});
    ASSERT_TRUE(agent.waitUntilReady()) << agent.log().toStdString();
    ASSERT_TRUE(waitFor([&] { return !portal.bindings().isEmpty(); }))
        << agent.log().toStdString() << portal.errors().join('\n').toStdString();
    const PortalStandIn::Binding first = portal.bindings().last();
    EXPECT_TRUE(first.has(ToggleId));
    EXPECT_TRUE(first.has(QStringLiteral("menu-bar-menu")));
    EXPECT_EQ(first.preferredTrigger(combinationId(personal)), "CTRL+SHIFT+s");
    EXPECT_EQ(first.preferredTrigger(combinationId(hostsKeys)), "CTRL+ALT+h");
    EXPECT_TRUE(portal.errors().isEmpty()) << portal.errors().join('\n').toStdString();

    // The toggle brings the window up in front, with the keyboard, and sends it away.
    portal.press(ToggleId);
    EXPECT_TRUE(waitFor([] {
        const QVariantMap state = accessWindowState();
        return state.value("visible").toBool() && state.value("active").toBool();
    })) << agent.log().toStdString();
    portal.press(ToggleId);
    EXPECT_TRUE(waitFor([] { return !accessWindowState().value("visible").toBool(); }));

    // The manager's section shows the keys the desktop gave, and follows a change made in the
    // desktop's settings.
    GlobalShortcutsPanel panel(new QLabel);
    panel.refresh();
    ASSERT_TRUE(
        waitFor([&] { return panel.showsTriggers() && panelShows(panel, "CTRL+SHIFT+s"); }));
    portal.assignTrigger(ToggleId, QStringLiteral("Super+Space"));
    EXPECT_TRUE(waitFor([&] { return panelShows(panel, "Super+Space"); }));

    // The item's shortcut changed in the manager: bound again, in a new session.
    const KeyMap newKeys = KeyMap::ofKeys({VirtualKey::Control, VirtualKey::Option, 37}); // L
    storeShortcuts(personal, newKeys);
    NotificationCenter::createSessionBusCenter()->post(QStringLiteral("KRV1_DaemonNotification"),
                                                       QStringLiteral("SettingChanged"), {});
    ASSERT_TRUE(waitFor([&] { return portal.bindings().size() >= 2; }))
        << agent.log().toStdString();
    const PortalStandIn::Binding second = portal.bindings().last();
    EXPECT_NE(second.session, first.session);
    EXPECT_EQ(second.preferredTrigger(combinationId(newKeys)), "CTRL+ALT+l");
    EXPECT_FALSE(second.has(combinationId(hostsKeys)));
    EXPECT_EQ(portal.openSessions(), QStringList{second.session});
    EXPECT_TRUE(portal.errors().isEmpty()) << portal.errors().join('\n').toStdString();
    // Each time, the agent had told the portal first which application it is: the id its
    // installed desktop entry bears.
    EXPECT_EQ(portal.registrations(), QStringList{QStringLiteral("org.korvale.Daemon")});

    // The portal restarts: registered again, bound again.
    portal.stop();
    ASSERT_TRUE(portal.start());
    ASSERT_TRUE(waitFor([&] { return portal.bindings().size() >= 3; }))
        << agent.log().toStdString() << portal.errors().join('\n').toStdString();
    EXPECT_EQ(portal.registrations().size(), 2);
    EXPECT_TRUE(portal.errors().isEmpty()) << portal.errors().join('\n').toStdString();
}
