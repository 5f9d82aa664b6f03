#include "PortalShortcutActivation.h"
#include "PortalStandIn.h"
#include "QOR_StringUtils.h"
#include "WindowFocus.h"
#include "platform/PortalGlobalShortcuts.h"

#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

template <typename Predicate> bool eventually(Predicate predicate)
{
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && !predicate())
        QTest::qWait(10);
    return predicate();
}

QVariantMap itemWithShortcut(const QString &title, const KeyMap &keys)
{
    return {{QStringLiteral("x"), 1},
            {QStringLiteral("T"), title},
            {QStringLiteral("P"), QStringLiteral("/usr/share/applications/") + title},
            {QStringLiteral(">"), keys.toData()}};
}

const KeyMap Personal = KeyMap::ofKeys({VirtualKey::Control, VirtualKey::Shift, VirtualKey::Space});
const KeyMap NotesKeys = KeyMap::ofKeys({VirtualKey::Control, VirtualKey::Option, 45}); // N
const KeyMap BrowserKeys = KeyMap::ofKeys({VirtualKey::Command, 3}); // F
const KeyMap EditorKeys = KeyMap::ofKeys({VirtualKey::Command, 14}); // E

} // namespace

// The agent's side of the portal against a stand-in that speaks the portal's documented
// messages: what is bound, what a press does, and a second binding when an item shortcut
// changes.
class PortalShortcutActivationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "needs a session bus: run under scripts/with-session.sh";
        ASSERT_TRUE(portal.start());
        QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
        settings.shortCutsActivated = 1;
        settings.shortCutsKeyPersonalValues = 1;
        settings.shortCutsKeyPersonalValuesData = Personal;
        items.updateListOfItemsWithShortcuts(
            {itemWithShortcut(QStringLiteral("Notes"), NotesKeys)},
            {itemWithShortcut(QStringLiteral("Browser"), BrowserKeys)});
        client = std::make_unique<PortalGlobalShortcuts>(QDBusConnection::sessionBus(),
                                                         QStringLiteral("org.korvale.Daemon"));
        activation = std::make_unique<PortalShortcutActivation>(
            *client,
            PortalShortcutActivation::Sources{[this] { return settings; }, &items,
                                              [this] { return visible; }});
    }

    void TearDown() override { QOR_StringUtils::removeTranslations(); }

    bool boundCount(int count)
    {
        return eventually([&] {
            return portal.bindings().size() == count
                && client->status() == GlobalShortcuts::Status::Bound;
        });
    }

    PortalStandIn portal;
    ActivationSettings settings;
    ItemShortcuts items;
    bool visible = false;
    std::unique_ptr<PortalGlobalShortcuts> client;
    std::unique_ptr<PortalShortcutActivation> activation;
};

TEST_F(PortalShortcutActivationTest, BindsTheGesturesAndActsOnTheirPresses)
{
    activation->refresh();
    ASSERT_TRUE(boundCount(1)) << portal.errors().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(portal.errors().isEmpty()) << portal.errors().join(QLatin1Char('\n')).toStdString();

    // The agent told the portal which application it is before it asked for a session.
    EXPECT_EQ(portal.registrations(), QStringList{QStringLiteral("org.korvale.Daemon")});
    const PortalStandIn::Binding binding = portal.bindings().first();
    ASSERT_EQ(binding.shortcuts.size(), 5);
    const QString personalId = PortalShortcutActivation::combinationId(Personal);
    const QString notesId = PortalShortcutActivation::combinationId(NotesKeys);
    const QString browserId = PortalShortcutActivation::combinationId(BrowserKeys);
    EXPECT_TRUE(binding.has(PortalShortcutActivation::ToggleId));
    EXPECT_TRUE(binding.has(PortalShortcutActivation::MenuId));
    // The toggle and the menu have no combination of their own: the desktop or the user picks.
    EXPECT_EQ(binding.preferredTrigger(PortalShortcutActivation::ToggleId), QString());
    EXPECT_EQ(binding.preferredTrigger(personalId), QStringLiteral("CTRL+SHIFT+space"));
    EXPECT_EQ(binding.preferredTrigger(notesId), QStringLiteral("CTRL+ALT+n"));
    EXPECT_EQ(binding.preferredTrigger(browserId), QStringLiteral("LOGO+f"));
    EXPECT_TRUE(binding.description(notesId).contains(QStringLiteral("Notes")));
    EXPECT_FALSE(binding.description(PortalShortcutActivation::ToggleId).isEmpty());
    // The keys the desktop reports, read back after the binding.
    ASSERT_TRUE(
        eventually([&] { return portal.listCalls() >= 1 && client->triggers().size() == 5; }));

    QSignalSpy opened(activation.get(), &PortalShortcutActivation::openAccessWindowRequested);
    QSignalSpy closed(activation.get(), &PortalShortcutActivation::closeAccessWindowRequested);
    QSignalSpy menus(activation.get(), &PortalShortcutActivation::menuBarMenuRequested);
    QSignalSpy itemsOpened(activation.get(), &PortalShortcutActivation::itemShortcutTriggered);

    // The toggle toggles, as the double tap does; the desktop's leave to take the focus goes to
    // the window it opens.
    portal.press(PortalShortcutActivation::ToggleId, QStringLiteral("token-of-this-press"));
    ASSERT_TRUE(eventually([&] { return opened.size() == 1; }));
    EXPECT_EQ(WindowFocus::pendingActivationToken(), QByteArrayLiteral("token-of-this-press"));
    WindowFocus::setActivationToken({});
    visible = true;
    portal.press(PortalShortcutActivation::ToggleId);
    ASSERT_TRUE(eventually([&] { return closed.size() == 1; }));
    visible = false;

    // An item's keys open the item; the menu's, the menu; the personal combination only opens.
    portal.press(browserId);
    ASSERT_TRUE(eventually([&] { return itemsOpened.size() == 1; }));
    EXPECT_EQ(itemsOpened.first().first().toMap().value(QStringLiteral("T")),
              QStringLiteral("Browser"));
    portal.press(PortalShortcutActivation::MenuId);
    ASSERT_TRUE(eventually([&] { return menus.size() == 1; }));
    portal.press(personalId);
    ASSERT_TRUE(eventually([&] { return opened.size() == 2; }));

    // A press in a session that is not the agent's does nothing.
    portal.pressInSession(QStringLiteral("/org/freedesktop/portal/desktop/session/1_1/other"),
                          PortalShortcutActivation::ToggleId);
    portal.press(PortalShortcutActivation::MenuId);
    ASSERT_TRUE(eventually([&] { return menus.size() == 2; }));
    EXPECT_EQ(opened.size(), 2);
    EXPECT_EQ(closed.size(), 1);

    // The user gives the toggle a key in the desktop's settings: the agent hears of it.
    portal.assignTrigger(PortalShortcutActivation::ToggleId, QStringLiteral("Super+Space"));
    ASSERT_TRUE(eventually([&] {
        for (const GlobalShortcuts::Trigger &trigger : client->triggers()) {
            if (trigger.id == PortalShortcutActivation::ToggleId)
                return trigger.triggerDescription == QLatin1String("Super+Space");
        }
        return false;
    }));
}

TEST_F(PortalShortcutActivationTest, AChangedItemShortcutIsBoundAgainInANewSession)
{
    activation->refresh();
    ASSERT_TRUE(boundCount(1));
    const QString firstSession = portal.bindings().first().session;

    // The same shortcuts again: nothing to bind.
    activation->refresh();
    QTest::qWait(50);
    EXPECT_EQ(portal.bindings().size(), 1);

    items.updateListOfItemsWithShortcuts({itemWithShortcut(QStringLiteral("Notes"), NotesKeys)},
                                         {itemWithShortcut(QStringLiteral("Browser"), EditorKeys)});
    activation->refresh();
    ASSERT_TRUE(boundCount(2)) << portal.errors().join(QLatin1Char('\n')).toStdString();
    // A session binds once: the old one was closed and a new one bound.
    const PortalStandIn::Binding second = portal.bindings().last();
    EXPECT_NE(second.session, firstSession);
    EXPECT_EQ(portal.openSessions(), QStringList{second.session});
    EXPECT_EQ(second.preferredTrigger(PortalShortcutActivation::combinationId(EditorKeys)),
              QStringLiteral("LOGO+e"));
    EXPECT_FALSE(second.has(PortalShortcutActivation::combinationId(BrowserKeys)));
    EXPECT_TRUE(portal.errors().isEmpty()) << portal.errors().join(QLatin1Char('\n')).toStdString();

    // Presses in the closed session are no longer the agent's.
    QSignalSpy itemsOpened(activation.get(), &PortalShortcutActivation::itemShortcutTriggered);
    portal.pressInSession(firstSession, PortalShortcutActivation::combinationId(NotesKeys));
    portal.press(PortalShortcutActivation::combinationId(EditorKeys));
    ASSERT_TRUE(eventually([&] { return itemsOpened.size() >= 1; }));
    QTest::qWait(20);
    ASSERT_EQ(itemsOpened.size(), 1);
    EXPECT_EQ(itemsOpened.first().first().toMap().value(QStringLiteral("T")),
              QStringLiteral("Browser"));
}

TEST_F(PortalShortcutActivationTest, ASessionTheDesktopClosedWaitsForTheNextChange)
{
    activation->refresh();
    ASSERT_TRUE(boundCount(1));
    portal.closeNewestSession();
    ASSERT_TRUE(eventually([&] { return client->status() == GlobalShortcuts::Status::Refused; }));
    // Every reading of the settings refreshes: the desktop is not asked again for the same list.
    activation->refresh();
    QTest::qWait(50);
    EXPECT_EQ(portal.bindings().size(), 1);

    settings.shortCutsKeyPersonalValuesData = EditorKeys;
    activation->refresh();
    ASSERT_TRUE(boundCount(2));
    EXPECT_EQ(portal.bindings().last().preferredTrigger(
                  PortalShortcutActivation::combinationId(EditorKeys)),
              QStringLiteral("LOGO+e"));
}

TEST_F(PortalShortcutActivationTest, OneCombinationOfSeveralItemsIsOneShortcut)
{
    // An item with the personal combination: both open, as when the keys are watched.
    items.updateListOfItemsWithShortcuts({itemWithShortcut(QStringLiteral("Notes"), Personal)},
                                         {itemWithShortcut(QStringLiteral("Browser"), Personal)});
    const QList<GlobalShortcuts::Shortcut> wanted = activation->wantedShortcuts();
    ASSERT_EQ(wanted.size(), 3);
    EXPECT_EQ(wanted.last().preferredTrigger, QStringLiteral("CTRL+SHIFT+space"));
    EXPECT_TRUE(wanted.last().description.contains(QStringLiteral("Notes, Browser")));

    activation->refresh();
    ASSERT_TRUE(boundCount(1));
    QSignalSpy opened(activation.get(), &PortalShortcutActivation::openAccessWindowRequested);
    QSignalSpy itemsOpened(activation.get(), &PortalShortcutActivation::itemShortcutTriggered);
    portal.press(PortalShortcutActivation::combinationId(Personal));
    ASSERT_TRUE(eventually([&] { return opened.size() == 1 && itemsOpened.size() == 2; }));
    EXPECT_EQ(itemsOpened.at(0).first().toMap().value(QStringLiteral("T")),
              QStringLiteral("Notes"));

    // With the keyboard way switched off, the combination is no longer the window's.
    settings.shortCutsActivated = 0;
    EXPECT_FALSE(
        activation->wantedShortcuts().last().description.contains(QStringLiteral("access window")));
}

// A portal that restarts has forgotten who the agent is: it registers again, then binds again.
TEST_F(PortalShortcutActivationTest, ARestartedPortalIsToldTheApplicationAgain)
{
    activation->refresh();
    ASSERT_TRUE(boundCount(1));
    ASSERT_TRUE(eventually([&] { return portal.listCalls() == 1; }));
    portal.stop();
    ASSERT_TRUE(
        eventually([&] { return client->status() == GlobalShortcuts::Status::Unavailable; }));
    ASSERT_TRUE(portal.start());
    ASSERT_TRUE(boundCount(2)) << GlobalShortcuts::statusName(client->status()).toStdString()
                               << ": " << client->reason().toStdString();
    EXPECT_EQ(portal.registrations(), QStringList(2, QStringLiteral("org.korvale.Daemon")));
    EXPECT_TRUE(portal.errors().isEmpty()) << portal.errors().join(QLatin1Char('\n')).toStdString();
}

// The registry is the portal's to withdraw: without it the agent asks for its session as before.
TEST(PortalGlobalShortcutsTest, APortalWithoutTheRegistryStillBinds)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "needs a session bus";
    PortalStandIn portal(1, PortalStandIn::Registry::Absent);
    ASSERT_TRUE(portal.start());
    PortalGlobalShortcuts client(QDBusConnection::sessionBus(),
                                 QStringLiteral("org.korvale.Daemon"));
    client.bindShortcuts({{QStringLiteral("toggle"), QStringLiteral("Toggle"), {}}});
    ASSERT_TRUE(eventually([&] {
        return portal.bindings().size() == 1 && client.status() == GlobalShortcuts::Status::Bound;
    })) << portal.errors().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(portal.registrations().isEmpty());
    EXPECT_TRUE(portal.errors().isEmpty()) << portal.errors().join(QLatin1Char('\n')).toStdString();
}

// A recent portal refuses a session to a program it cannot tell: an id it does not take (no
// reverse-DNS name), or none. The refusal says which.
TEST(PortalGlobalShortcutsTest, AnApplicationThePortalCannotTellIsRefusedAndToldWhy)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "needs a session bus";
    for (const QString &id : {QStringLiteral("korvale-daemon"), QString()}) {
        PortalStandIn portal;
        ASSERT_TRUE(portal.start());
        // A connection of its own each time: a connection registers once.
        const QString name = QStringLiteral("refused-client-") + id;
        {
            PortalGlobalShortcuts client(
                QDBusConnection::connectToBus(QDBusConnection::SessionBus, name), id);
            client.bindShortcuts({{QStringLiteral("toggle"), QStringLiteral("Toggle"), {}}});
            ASSERT_TRUE(eventually([&] {
                return client.status() == GlobalShortcuts::Status::Refused;
            })) << GlobalShortcuts::statusName(client.status()).toStdString();
            EXPECT_EQ(client.refusal(), GlobalShortcuts::Refusal::UnknownApplication);
            EXPECT_TRUE(client.reason().contains(QStringLiteral("An app ID is required")))
                << client.reason().toStdString();
            EXPECT_TRUE(portal.bindings().isEmpty());
        }
        QDBusConnection::disconnectFromBus(name);
    }
}

TEST(PortalGlobalShortcutsTest, WithoutThePortalItSaysSoAndBindsNothing)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "needs a session bus";
    PortalGlobalShortcuts client(QDBusConnection::sessionBus(),
                                 QStringLiteral("org.korvale.Daemon"));
    client.bindShortcuts({{QStringLiteral("toggle"), QStringLiteral("Toggle"), {}}});
    ASSERT_TRUE(eventually([&] { return client.status() != GlobalShortcuts::Status::Probing; }));
    EXPECT_EQ(client.status(), GlobalShortcuts::Status::Unavailable);
    EXPECT_FALSE(client.reason().isEmpty());
}

TEST(PortalGlobalShortcutsTest, TheRequestPathIsNamedAfterTheCaller)
{
    EXPECT_EQ(PortalGlobalShortcuts::requestPath(QStringLiteral(":1.42"), QStringLiteral("t7")),
              QStringLiteral("/org/freedesktop/portal/desktop/request/1_42/t7"));
}
