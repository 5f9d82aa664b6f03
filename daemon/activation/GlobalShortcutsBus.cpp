#include "GlobalShortcutsBus.h"

#include "PortalShortcutActivation.h"
#include "platform/DBusNotificationCenter.h"

#include <QDBusConnection>

const QString GlobalShortcutsBus::ObjectPath = QStringLiteral("/org/korvale/GlobalShortcuts");
const QString GlobalShortcutsBus::Interface = QStringLiteral("org.korvale.GlobalShortcuts");

GlobalShortcutsBus::GlobalShortcutsBus(PortalShortcutActivation &activation, QObject *parent)
    : QObject(parent)
    , mActivation(activation)
{
    connect(&mActivation.shortcuts(), &GlobalShortcuts::changed, this,
            &GlobalShortcutsBus::Changed);
}

GlobalShortcutsBus::~GlobalShortcutsBus()
{
    if (mPublished)
        QDBusConnection::sessionBus().unregisterObject(ObjectPath);
}

bool GlobalShortcutsBus::publish()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    mPublished = bus.isConnected()
        && bus.registerObject(ObjectPath, this,
                              QDBusConnection::ExportScriptableSlots
                                  | QDBusConnection::ExportScriptableSignals);
    return mPublished;
}

QVariantMap GlobalShortcutsBus::triggers() const
{
    const GlobalShortcuts &shortcuts = mActivation.shortcuts();
    // The desktop's answer in the order the agent asked, with what it asked for beside it.
    QVariantList list;
    const QList<GlobalShortcuts::Trigger> reported = shortcuts.triggers();
    for (const GlobalShortcuts::Shortcut &wanted : mActivation.wantedShortcuts()) {
        QVariantMap entry{{QStringLiteral("id"), wanted.id},
                          {QStringLiteral("description"), wanted.description},
                          {QStringLiteral("preferredTrigger"), wanted.preferredTrigger},
                          {QStringLiteral("trigger"), QString()}};
        for (const GlobalShortcuts::Trigger &trigger : reported) {
            if (trigger.id == wanted.id)
                entry.insert(QStringLiteral("trigger"), trigger.triggerDescription);
        }
        list.append(entry);
    }
    return {{QStringLiteral("status"), GlobalShortcuts::statusName(shortcuts.status())},
            {QStringLiteral("reason"), shortcuts.reason()},
            {QStringLiteral("refusal"), GlobalShortcuts::refusalName(shortcuts.refusal())},
            {QStringLiteral("shortcuts"), list}};
}

QVariantMap GlobalShortcutsBus::Triggers() const
{
    return DBusNotificationCenter::toWire(triggers()).toMap();
}
