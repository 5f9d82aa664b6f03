#include "AccessWindowBus.h"

#include "platform/DBusNotificationCenter.h"

#include <QDBusConnection>

const QString AccessWindowBus::ObjectPath = QStringLiteral("/org/korvale/AccessWindow");
const QString AccessWindowBus::Interface = QStringLiteral("org.korvale.AccessWindow");

AccessWindowBus::AccessWindowBus(QObject *parent)
    : QObject(parent)
{
}

AccessWindowBus::~AccessWindowBus()
{
    if (mPublished)
        QDBusConnection::sessionBus().unregisterObject(ObjectPath);
}

bool AccessWindowBus::publish()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    mPublished = bus.isConnected()
        && bus.registerObject(ObjectPath, this, QDBusConnection::ExportScriptableSlots);
    return mPublished;
}

// Queued, so that a caller on the bus gets its reply before the window work starts.
void AccessWindowBus::Toggle()
{
    QMetaObject::invokeMethod(this, &AccessWindowBus::toggleRequested, Qt::QueuedConnection);
}

void AccessWindowBus::Open()
{
    QMetaObject::invokeMethod(this, &AccessWindowBus::openRequested, Qt::QueuedConnection);
}

void AccessWindowBus::Close()
{
    QMetaObject::invokeMethod(this, &AccessWindowBus::closeRequested, Qt::QueuedConnection);
}

void AccessWindowBus::ShowMenu()
{
    // Queued: the menu must not pop up inside the bus call, which waits for no one.
    QMetaObject::invokeMethod(this, &AccessWindowBus::menuRequested, Qt::QueuedConnection);
}

QVariantMap AccessWindowBus::State()
{
    return mState ? DBusNotificationCenter::toWire(mState()).toMap() : QVariantMap();
}
