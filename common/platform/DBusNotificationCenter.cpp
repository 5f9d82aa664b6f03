#include "DBusNotificationCenter.h"

#include <QDBusArgument>
#include <QDBusVariant>
#include <QDateTime>

const QString DBusNotificationCenter::Path = QStringLiteral("/org/korvale/Notifications");
const QString DBusNotificationCenter::Interface = QStringLiteral("org.korvale.Notifications");

namespace {

const QString DateKey = QStringLiteral("krv.date");

QVariant demarshall(const QDBusArgument &argument)
{
    const QString signature = argument.currentSignature();
    if (signature == QLatin1String("a{sv}")) {
        QVariantMap map;
        argument >> map;
        return map;
    }
    if (signature == QLatin1String("av")) {
        QVariantList list;
        argument >> list;
        return list;
    }
    if (signature == QLatin1String("as")) {
        QStringList list;
        argument >> list;
        return list;
    }
    if (signature == QLatin1String("ay")) {
        QByteArray bytes;
        argument >> bytes;
        return bytes;
    }
    return {}; // shapes the suite never sends
}

} // namespace

std::unique_ptr<NotificationCenter> NotificationCenter::createSessionBusCenter(QObject *parent)
{
    return std::make_unique<DBusNotificationCenter>(QDBusConnection::sessionBus(), parent);
}

DBusNotificationCenter::DBusNotificationCenter(const QDBusConnection &connection, QObject *parent)
    : NotificationCenter(parent)
    , mConnection(connection)
{
}

DBusNotificationCenter::~DBusNotificationCenter()
{
    stopObservingAll();
    // Signals are queued on the connection: a short-lived tool that posts and exits would lose
    // them. The bus answers in order, so one round trip proves everything before it went out.
    if (mUnflushedPosts && mConnection.isConnected()) {
        const QDBusMessage ping = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"));
        mConnection.call(ping, QDBus::Block, 2000);
    }
}

QString DBusNotificationCenter::why() const
{
    if (mConnection.isConnected())
        return {};
    const QString reason = mConnection.lastError().message();
    return reason.isEmpty() ? QStringLiteral("no D-Bus session bus") : reason;
}

QVariant DBusNotificationCenter::toWire(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QVariantMap: {
        const QVariantMap map = value.toMap();
        QVariantMap wire;
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            const QVariant converted = toWire(it.value());
            if (converted.isValid())
                wire.insert(it.key(), converted);
        }
        return wire;
    }
    case QMetaType::QVariantList: {
        QVariantList wire;
        for (const QVariant &element : value.toList()) {
            const QVariant converted = toWire(element);
            if (converted.isValid())
                wire.append(converted);
        }
        return wire;
    }
    case QMetaType::QDateTime:
        return QVariantMap{{DateKey, double(value.toDateTime().toMSecsSinceEpoch()) / 1000.0}};
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::QString:
    case QMetaType::QStringList:
    case QMetaType::QByteArray:
        return value;
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
        return {};
    default:
        return value.canConvert<QString>() ? QVariant(value.toString()) : QVariant();
    }
}

QVariant DBusNotificationCenter::fromWire(const QVariant &value)
{
    if (value.userType() == qMetaTypeId<QDBusVariant>())
        return fromWire(value.value<QDBusVariant>().variant());
    if (value.userType() == qMetaTypeId<QDBusArgument>())
        return fromWire(demarshall(value.value<QDBusArgument>()));
    if (value.typeId() == QMetaType::QVariantMap) {
        const QVariantMap map = value.toMap();
        if (map.size() == 1 && map.contains(DateKey)) {
            const QVariant seconds = fromWire(map.value(DateKey));
            return QDateTime::fromMSecsSinceEpoch(qint64(seconds.toDouble() * 1000.0 + 0.5));
        }
        QVariantMap result;
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            const QVariant converted = fromWire(it.value());
            if (converted.isValid())
                result.insert(it.key(), converted);
        }
        return result;
    }
    if (value.typeId() == QMetaType::QVariantList) {
        QVariantList result;
        for (const QVariant &element : value.toList()) {
            const QVariant converted = fromWire(element);
            if (converted.isValid())
                result.append(converted);
        }
        return result;
    }
    return value;
}

bool DBusNotificationCenter::post(const QString &channel, const QString &object,
                                  const QVariantMap &userInfo)
{
    if (!NotificationChannel::isKnown(channel) || object.isEmpty() || !mConnection.isConnected())
        return false;
    QDBusMessage message = QDBusMessage::createSignal(Path, Interface, channel);
    message << object << toWire(userInfo);
    const bool sent = mConnection.send(message);
    mUnflushedPosts = mUnflushedPosts || sent;
    return sent;
}

bool DBusNotificationCenter::observe(const QString &channel)
{
    if (!NotificationChannel::isKnown(channel))
        return false;
    if (mObserved.contains(channel))
        return true;
    if (!mConnection.connect(QString(), Path, Interface, channel, this,
                             SLOT(handleSignal(QDBusMessage))))
        return false;
    mObserved.insert(channel);
    return true;
}

void DBusNotificationCenter::stopObserving(const QString &channel)
{
    if (!mObserved.remove(channel))
        return;
    mConnection.disconnect(QString(), Path, Interface, channel, this,
                           SLOT(handleSignal(QDBusMessage)));
}

void DBusNotificationCenter::handleSignal(const QDBusMessage &message)
{
    const QVariantList arguments = message.arguments();
    if (arguments.isEmpty())
        return;
    const QVariant object = fromWire(arguments.at(0));
    if (object.typeId() != QMetaType::QString)
        return;
    QVariantMap userInfo;
    if (arguments.size() > 1)
        userInfo = fromWire(arguments.at(1)).toMap();
    deliver(message.member(), object.toString(), userInfo);
}
