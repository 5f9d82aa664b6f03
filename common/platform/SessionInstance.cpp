#include "SessionInstance.h"

#include "DBusNotificationCenter.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

const QString SessionInstance::ObjectPath = QStringLiteral("/org/korvale/Instance");
const QString SessionInstance::Interface = QStringLiteral("org.korvale.Instance");

SessionInstance::SessionInstance(const QString &serviceName, QObject *parent)
    : QObject(parent)
    , mServiceName(serviceName)
{
}

SessionInstance::~SessionInstance()
{
    if (!mOwned)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(ObjectPath);
    bus.unregisterService(mServiceName);
}

SessionInstance::Claim SessionInstance::claim(const QStringList &files)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        mWhy = bus.lastError().message();
        if (mWhy.isEmpty())
            mWhy = QStringLiteral("no D-Bus session bus");
        return Claim::NoBus;
    }
    // The object is in place before the name is, so a second start never finds the name
    // without someone to answer.
    bus.registerObject(ObjectPath, this, QDBusConnection::ExportScriptableSlots);
    if (bus.registerService(mServiceName)) {
        mOwned = true;
        return Claim::Owned;
    }
    bus.unregisterObject(ObjectPath);
    if (!files.isEmpty()) {
        QDBusMessage call = QDBusMessage::createMethodCall(mServiceName, ObjectPath, Interface,
                                                           QStringLiteral("OpenFiles"));
        call << files;
        const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
        if (reply.type() != QDBusMessage::ErrorMessage)
            return Claim::HandedOver;
        // An instance of an older version knows only Activate.
    }
    QDBusMessage call = QDBusMessage::createMethodCall(mServiceName, ObjectPath, Interface,
                                                       QStringLiteral("Activate"));
    const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
    if (reply.type() == QDBusMessage::ErrorMessage)
        mWhy = reply.errorMessage();
    return Claim::HandedOver;
}

void SessionInstance::Activate()
{
    emit activationRequested();
}

void SessionInstance::OpenFiles(const QStringList &paths)
{
    emit activationRequested();
    emit filesOpenRequested(paths);
}

QVariantMap SessionInstance::Status()
{
    return mStatus ? DBusNotificationCenter::toWire(mStatus()).toMap() : QVariantMap();
}
