#include "PortalStandIn.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QDateTime>
#include <QRegularExpression>
#include <QSet>

namespace {

const QString Service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString DesktopPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString ShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString SessionInterface = QStringLiteral("org.freedesktop.portal.Session");
const QString PropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString RegistryInterface = QStringLiteral("org.freedesktop.host.portal.Registry");

struct WireShortcut {
    QString id;
    QVariantMap properties;
};

} // namespace

Q_DECLARE_METATYPE(WireShortcut)

namespace {

QDBusArgument &operator<<(QDBusArgument &argument, const WireShortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, WireShortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

QVariantMap mapOf(const QVariant &value)
{
    if (value.userType() == qMetaTypeId<QDBusArgument>())
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value.toMap();
}

// "A valid object path element".
bool isPathElement(const QVariant &token)
{
    static const QRegularExpression element(QStringLiteral("^[A-Za-z0-9_]+$"));
    return token.typeId() == QMetaType::QString && element.match(token.toString()).hasMatch();
}

// GLib's rule for application ids, which the portal applies: at least two dot-separated
// elements of letters, digits, '_' and '-', none starting with a digit, at most 255 bytes.
bool isApplicationId(const QString &id)
{
    static const QRegularExpression rule(
        QStringLiteral("^[A-Za-z_-][A-Za-z0-9_-]*(\\.[A-Za-z_-][A-Za-z0-9_-]*)+$"));
    return id.size() <= 255 && rule.match(id).hasMatch();
}

QString senderElement(const QString &uniqueName)
{
    QString sender = uniqueName.mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return sender;
}

} // namespace

class PortalStandIn::Object : public QDBusVirtualObject
{
public:
    struct Session {
        QString owner;
        bool bound = false;
        QList<Shortcut> shortcuts;
    };

    Object(uint version, Registry registry)
        : mVersion(version)
        , mRegistry(registry)
    {
    }

    void forgetCallers()
    {
        mStopped = true;
        mSessions.clear();
        mApplicationIds.clear();
        mKnownCallers.clear();
    }

    QString introspect(const QString &path) const override
    {
        if (path != DesktopPath)
            return {};
        const QString registry = mRegistry == Registry::Absent
            ? QString()
            : QStringLiteral("<interface name=\"org.freedesktop.host.portal.Registry\">"
                             "<method name=\"Register\"><arg type=\"s\" direction=\"in\"/>"
                             "<arg type=\"a{sv}\" direction=\"in\"/></method>"
                             "<property name=\"version\" type=\"u\" access=\"read\"/>"
                             "</interface>");
        return registry
            + QStringLiteral(
                   "<interface name=\"org.freedesktop.portal.GlobalShortcuts\">"
                   "<method name=\"CreateSession\"><arg type=\"a{sv}\" direction=\"in\"/>"
                   "<arg type=\"o\" direction=\"out\"/></method>"
                   "<method name=\"BindShortcuts\"><arg type=\"o\" direction=\"in\"/>"
                   "<arg type=\"a(sa{sv})\" direction=\"in\"/><arg type=\"s\" direction=\"in\"/>"
                   "<arg type=\"a{sv}\" direction=\"in\"/><arg type=\"o\" "
                   "direction=\"out\"/></method>"
                   "<method name=\"ListShortcuts\"><arg type=\"o\" direction=\"in\"/>"
                   "<arg type=\"a{sv}\" direction=\"in\"/><arg type=\"o\" "
                   "direction=\"out\"/></method>"
                   "<signal name=\"Activated\"><arg type=\"o\"/><arg type=\"s\"/><arg type=\"t\"/>"
                   "<arg type=\"a{sv}\"/></signal>"
                   "<signal name=\"Deactivated\"><arg type=\"o\"/><arg type=\"s\"/><arg "
                   "type=\"t\"/>"
                   "<arg type=\"a{sv}\"/></signal>"
                   "<signal name=\"ShortcutsChanged\"><arg type=\"o\"/><arg type=\"a(sa{sv})\"/>"
                   "</signal><property name=\"version\" type=\"u\" access=\"read\"/></interface>");
    }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        QDBusConnection bus = connection;
        // Calls on their way when the portal left went to a process that is gone.
        if (mStopped) {
            bus.send(message.createErrorReply(QDBusError::ServiceUnknown,
                                              QStringLiteral("The portal has left")));
            return true;
        }
        const QString path = message.path();
        const QString member = message.member();
        if (path == DesktopPath && message.interface() == PropertiesInterface
            && member == QLatin1String("Get")) {
            if (message.signature() != QLatin1String("ss")
                || message.arguments().at(0).toString() != ShortcutsInterface
                || message.arguments().at(1).toString() != QLatin1String("version"))
                return refuse(bus, message, QStringLiteral("Properties.Get of no property"));
            bus.send(message.createReply(QVariant::fromValue(QDBusVariant(mVersion))));
            return true;
        }
        if (path == DesktopPath && message.interface() == RegistryInterface) {
            if (mRegistry == Registry::Absent) {
                bus.send(message.createErrorReply(QDBusError::UnknownInterface,
                                                  QStringLiteral("No such interface")));
                return true;
            }
            if (member == QLatin1String("Register"))
                return registerApplication(bus, message);
        }
        if (path == DesktopPath && message.interface() == ShortcutsInterface) {
            // The portal tells who calls at its first call; a registration after it is too late.
            mKnownCallers.insert(message.service());
            if (member == QLatin1String("CreateSession"))
                return createSession(bus, message);
            if (member == QLatin1String("BindShortcuts"))
                return bindShortcuts(bus, message);
            if (member == QLatin1String("ListShortcuts"))
                return listShortcuts(bus, message);
        }
        if (mSessions.contains(path) && message.interface() == SessionInterface
            && member == QLatin1String("Close") && message.signature().isEmpty()) {
            mSessions.remove(path);
            bus.send(message.createReply());
            return true;
        }
        return refuse(bus, message,
                      QStringLiteral("no such method: %1 %2.%3 (%4)")
                          .arg(path, message.interface(), member, message.signature()));
    }

    bool refuse(QDBusConnection &bus, const QDBusMessage &message, const QString &why)
    {
        mErrors << why;
        bus.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                                          why));
        return true;
    }

    // The options' handle_token (a string that is a path element), or a token of our own.
    std::optional<QString> tokenOf(const QVariantMap &options, const QString &key)
    {
        if (!options.contains(key))
            return QStringLiteral("t%1").arg(++mCounter);
        if (!isPathElement(options.value(key)))
            return std::nullopt;
        return options.value(key).toString();
    }

    // The method returns the Request's path; the Response follows on it, to the caller.
    void respond(QDBusConnection &bus, const QDBusMessage &message, const QString &token, uint code,
                 const QVariantMap &results)
    {
        const QString requestPath = DesktopPath + QStringLiteral("/request/")
            + senderElement(message.service()) + QLatin1Char('/') + token;
        bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(requestPath))));
        QDBusMessage response = QDBusMessage::createTargetedSignal(
            message.service(), requestPath, RequestInterface, QStringLiteral("Response"));
        response << code << results;
        bus.send(response);
    }

    bool registerApplication(QDBusConnection &bus, const QDBusMessage &message)
    {
        if (message.signature() != QLatin1String("sa{sv}"))
            return refuse(bus, message, QStringLiteral("Register(%1)").arg(message.signature()));
        const QString id = message.arguments().at(0).toString();
        if (mKnownCallers.contains(message.service())
            || mApplicationIds.contains(message.service()))
            return refuse(bus, message,
                          QStringLiteral("Register: the connection already has an application"));
        if (!isApplicationId(id)) {
            mErrors << QStringLiteral("Register: no application id: %1").arg(id);
            bus.send(message.createErrorReply(
                QStringLiteral("org.freedesktop.portal.Error.InvalidArgument"),
                QStringLiteral("Invalid app ID")));
            return true;
        }
        mApplicationIds.insert(message.service(), id);
        mRegistrations << id;
        bus.send(message.createReply());
        return true;
    }

    bool createSession(QDBusConnection &bus, const QDBusMessage &message)
    {
        if (message.signature() != QLatin1String("a{sv}"))
            return refuse(bus, message,
                          QStringLiteral("CreateSession(%1)").arg(message.signature()));
        // Not a fault of the caller's messages, so not among errors(): what a real portal does.
        if (mRegistry == Registry::Required && !mApplicationIds.contains(message.service())) {
            bus.send(
                message.createErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotAllowed"),
                                         QStringLiteral("An app ID is required")));
            return true;
        }
        const QVariantMap options = mapOf(message.arguments().at(0));
        const std::optional<QString> token = tokenOf(options, QStringLiteral("handle_token"));
        const std::optional<QString> sessionToken =
            tokenOf(options, QStringLiteral("session_handle_token"));
        if (!token || !sessionToken)
            return refuse(bus, message,
                          QStringLiteral("CreateSession: a token is no path element"));
        const QString session = DesktopPath + QStringLiteral("/session/")
            + senderElement(message.service()) + QLatin1Char('/') + *sessionToken;
        mSessions.insert(session, {message.service(), false, {}});
        // "session_handle" is documented as a string.
        respond(bus, message, *token, 0, {{QStringLiteral("session_handle"), session}});
        return true;
    }

    std::optional<QList<Shortcut>> shortcutsOf(const QVariant &value, QString &why)
    {
        const QDBusArgument argument = value.value<QDBusArgument>();
        const QList<WireShortcut> wire = qdbus_cast<QList<WireShortcut>>(argument);
        QList<Shortcut> shortcuts;
        for (const WireShortcut &shortcut : wire) {
            for (auto it = shortcut.properties.cbegin(); it != shortcut.properties.cend(); ++it) {
                const bool known = it.key() == QLatin1String("description")
                    || it.key() == QLatin1String("preferred_trigger");
                if (!known || it.value().typeId() != QMetaType::QString) {
                    why = QStringLiteral("shortcut %1: property %2").arg(shortcut.id, it.key());
                    return std::nullopt;
                }
            }
            shortcuts.append({shortcut.id, shortcut.properties});
        }
        return shortcuts;
    }

    bool bindShortcuts(QDBusConnection &bus, const QDBusMessage &message)
    {
        if (message.signature() != QLatin1String("oa(sa{sv})sa{sv}"))
            return refuse(bus, message,
                          QStringLiteral("BindShortcuts(%1)").arg(message.signature()));
        const QList<QVariant> arguments = message.arguments();
        const QString sessionPath = arguments.at(0).value<QDBusObjectPath>().path();
        auto session = mSessions.find(sessionPath);
        if (session == mSessions.end() || session->owner != message.service())
            return refuse(bus, message,
                          QStringLiteral("BindShortcuts: no session %1").arg(sessionPath));
        // "An application can only attempt bind shortcuts of a session once."
        if (session->bound)
            return refuse(bus, message, QStringLiteral("BindShortcuts: session bound twice"));
        QString why;
        const std::optional<QList<Shortcut>> shortcuts = shortcutsOf(arguments.at(1), why);
        if (!shortcuts)
            return refuse(bus, message, QStringLiteral("BindShortcuts: ") + why);
        const std::optional<QString> token =
            tokenOf(mapOf(arguments.at(3)), QStringLiteral("handle_token"));
        if (!token)
            return refuse(bus, message, QStringLiteral("BindShortcuts: bad handle_token"));
        session->bound = true;
        session->shortcuts = *shortcuts;
        mBindings.append({sessionPath, *shortcuts});
        respond(bus, message, *token, 0, {{QStringLiteral("shortcuts"), reported(*session)}});
        return true;
    }

    bool listShortcuts(QDBusConnection &bus, const QDBusMessage &message)
    {
        if (message.signature() != QLatin1String("oa{sv}"))
            return refuse(bus, message,
                          QStringLiteral("ListShortcuts(%1)").arg(message.signature()));
        const QList<QVariant> arguments = message.arguments();
        const auto session = mSessions.constFind(arguments.at(0).value<QDBusObjectPath>().path());
        if (session == mSessions.cend() || session->owner != message.service())
            return refuse(bus, message, QStringLiteral("ListShortcuts: no such session"));
        const std::optional<QString> token =
            tokenOf(mapOf(arguments.at(1)), QStringLiteral("handle_token"));
        if (!token)
            return refuse(bus, message, QStringLiteral("ListShortcuts: bad handle_token"));
        ++mListCalls;
        respond(bus, message, *token, 0, {{QStringLiteral("shortcuts"), reported(*session)}});
        return true;
    }

    // The keys this desktop gives: what it was told to assign, else what was preferred.
    QVariant reported(const Session &session) const
    {
        QList<WireShortcut> list;
        for (const Shortcut &shortcut : session.shortcuts) {
            const QString trigger = mAssigned.value(
                shortcut.id,
                shortcut.properties.value(QStringLiteral("preferred_trigger")).toString());
            list.append({shortcut.id,
                         {{QStringLiteral("description"),
                           shortcut.properties.value(QStringLiteral("description"))},
                          {QStringLiteral("trigger_description"), trigger}}});
        }
        return QVariant::fromValue(list);
    }

    void emitShortcutEvent(QDBusConnection &bus, const QString &name, const QString &session,
                           const QString &id, const QString &activationToken = {})
    {
        QDBusMessage signal = QDBusMessage::createSignal(DesktopPath, ShortcutsInterface, name);
        QVariantMap options;
        if (!activationToken.isEmpty())
            options.insert(QStringLiteral("activation_token"), activationToken);
        signal << QVariant::fromValue(QDBusObjectPath(session)) << id
               << quint64(QDateTime::currentMSecsSinceEpoch()) << options;
        bus.send(signal);
    }

    uint mVersion;
    Registry mRegistry;
    bool mStopped = false;
    // Caller's unique name -> its registered application id.
    QMap<QString, QString> mApplicationIds;
    QSet<QString> mKnownCallers;
    QStringList mRegistrations;
    int mCounter = 0;
    int mListCalls = 0;
    QMap<QString, Session> mSessions;
    QList<Binding> mBindings;
    QStringList mErrors;
    QMap<QString, QString> mAssigned;
};

QString PortalStandIn::Binding::preferredTrigger(const QString &id) const
{
    for (const Shortcut &shortcut : shortcuts) {
        if (shortcut.id == id)
            return shortcut.properties.value(QStringLiteral("preferred_trigger")).toString();
    }
    return {};
}

QString PortalStandIn::Binding::description(const QString &id) const
{
    for (const Shortcut &shortcut : shortcuts) {
        if (shortcut.id == id)
            return shortcut.properties.value(QStringLiteral("description")).toString();
    }
    return {};
}

bool PortalStandIn::Binding::has(const QString &id) const
{
    for (const Shortcut &shortcut : shortcuts) {
        if (shortcut.id == id)
            return true;
    }
    return false;
}

PortalStandIn::PortalStandIn(uint version, Registry registry)
    : mObject(std::make_unique<Object>(version, registry))
    , mConnection(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                QStringLiteral("korvale-portal-stand-in")))
{
    qDBusRegisterMetaType<WireShortcut>();
    qDBusRegisterMetaType<QList<WireShortcut>>();
}

PortalStandIn::~PortalStandIn()
{
    mConnection.unregisterObject(DesktopPath, QDBusConnection::UnregisterTree);
    mConnection.unregisterService(Service);
    QDBusConnection::disconnectFromBus(QStringLiteral("korvale-portal-stand-in"));
}

bool PortalStandIn::start()
{
    mObject->mStopped = false;
    return mConnection.isConnected()
        && mConnection.registerVirtualObject(DesktopPath, mObject.get(), QDBusConnection::SubPath)
        && mConnection.registerService(Service);
}

void PortalStandIn::stop()
{
    mConnection.unregisterObject(DesktopPath, QDBusConnection::UnregisterTree);
    mConnection.unregisterService(Service);
    mObject->forgetCallers();
}

QStringList PortalStandIn::registrations() const
{
    return mObject->mRegistrations;
}

QList<PortalStandIn::Binding> PortalStandIn::bindings() const
{
    return mObject->mBindings;
}

QStringList PortalStandIn::openSessions() const
{
    return mObject->mSessions.keys();
}

QStringList PortalStandIn::errors() const
{
    return mObject->mErrors;
}

int PortalStandIn::listCalls() const
{
    return mObject->mListCalls;
}

void PortalStandIn::assignTrigger(const QString &id, const QString &trigger)
{
    mObject->mAssigned.insert(id, trigger);
    for (auto it = mObject->mSessions.cbegin(); it != mObject->mSessions.cend(); ++it) {
        if (!it->bound)
            continue;
        QDBusMessage signal = QDBusMessage::createSignal(DesktopPath, ShortcutsInterface,
                                                         QStringLiteral("ShortcutsChanged"));
        signal << QVariant::fromValue(QDBusObjectPath(it.key())) << mObject->reported(*it);
        mConnection.send(signal);
    }
}

void PortalStandIn::press(const QString &id, const QString &activationToken)
{
    // The newest bound session is the one the agent holds.
    QString newest;
    if (!mObject->mBindings.isEmpty())
        newest = mObject->mBindings.last().session;
    pressInSession(newest, id, activationToken);
}

void PortalStandIn::closeNewestSession()
{
    if (mObject->mBindings.isEmpty())
        return;
    const QString session = mObject->mBindings.last().session;
    mObject->mSessions.remove(session);
    QDBusMessage closed =
        QDBusMessage::createSignal(session, SessionInterface, QStringLiteral("Closed"));
    closed << QVariantMap();
    mConnection.send(closed);
}

void PortalStandIn::pressInSession(const QString &session, const QString &id,
                                   const QString &activationToken)
{
    mObject->emitShortcutEvent(mConnection, QStringLiteral("Activated"), session, id,
                               activationToken);
    mObject->emitShortcutEvent(mConnection, QStringLiteral("Deactivated"), session, id);
}
