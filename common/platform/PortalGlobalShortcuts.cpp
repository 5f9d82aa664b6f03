#include "PortalGlobalShortcuts.h"

#include "KorvaleLog.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QPointer>
#include <QRandomGenerator>

namespace {

const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString SessionInterface = QStringLiteral("org.freedesktop.portal.Session");

// One element of the portal's shortcut lists, a(sa{sv}): an id and its properties.
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

} // namespace

Q_DECLARE_METATYPE(PortalShortcut)

namespace {

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

void registerTypes()
{
    static const bool registered = [] {
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
        return true;
    }();
    Q_UNUSED(registered);
}

// A shortcut list as the portal sends it, inside a variant or as the argument itself; nothing
// when it is not an a(sa{sv}).
std::optional<QList<PortalShortcut>> shortcutList(const QVariant &value)
{
    if (!value.canConvert<QDBusArgument>())
        return std::nullopt;
    const QDBusArgument argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("a(sa{sv})"))
        return std::nullopt;
    return qdbus_cast<QList<PortalShortcut>>(argument);
}

// The object path of a Response's "session_handle": a string, as the portal first sent it, or a
// path.
QDBusObjectPath sessionHandleOf(const QVariantMap &results)
{
    const QVariant value = results.value(QStringLiteral("session_handle"));
    if (value.canConvert<QDBusObjectPath>() && value.userType() == qMetaTypeId<QDBusObjectPath>())
        return value.value<QDBusObjectPath>();
    const QString path = value.toString();
    return path.startsWith(QLatin1Char('/')) ? QDBusObjectPath(path) : QDBusObjectPath();
}

} // namespace

// Waits for the Response of one Request object and hands it on once.
class PortalRequestWaiter : public QObject
{
    Q_OBJECT
public:
    PortalRequestWaiter(QDBusConnection bus, std::function<void(uint, const QVariantMap &)> done,
                        QObject *parent)
        : QObject(parent)
        , mBus(std::move(bus))
        , mDone(std::move(done))
    {
    }

    // Subscribed before the call goes out: the portal may answer before the call's reply comes.
    bool listen(const QString &path)
    {
        if (path == mPath || !mDone)
            return true;
        stopListening();
        mPath = path;
        return mBus.connect(PortalGlobalShortcuts::Service, mPath, RequestInterface,
                            QStringLiteral("Response"), this, SLOT(response(uint, QVariantMap)));
    }

    void finish(uint code, const QVariantMap &results)
    {
        if (!mDone)
            return;
        stopListening();
        auto done = std::move(mDone);
        mDone = nullptr;
        deleteLater();
        done(code, results);
    }

public slots:
    void response(uint code, const QVariantMap &results) { finish(code, results); }

private:
    void stopListening()
    {
        if (!mPath.isEmpty())
            mBus.disconnect(PortalGlobalShortcuts::Service, mPath, RequestInterface,
                            QStringLiteral("Response"), this, SLOT(response(uint, QVariantMap)));
        mPath.clear();
    }

    QDBusConnection mBus;
    std::function<void(uint, const QVariantMap &)> mDone;
    QString mPath;
};

QString GlobalShortcuts::statusName(Status status)
{
    switch (status) {
    case Status::Probing:
        return QStringLiteral("probing");
    case Status::Unavailable:
        return QStringLiteral("unavailable");
    case Status::Binding:
        return QStringLiteral("binding");
    case Status::Bound:
        return QStringLiteral("bound");
    case Status::Refused:
        return QStringLiteral("refused");
    }
    return {};
}

QString GlobalShortcuts::refusalName(Refusal refusal)
{
    switch (refusal) {
    case Refusal::None:
        return QString();
    case Refusal::UnknownApplication:
        return QStringLiteral("unknown-application");
    case Refusal::Declined:
        return QStringLiteral("declined");
    case Refusal::SessionClosed:
        return QStringLiteral("session-closed");
    case Refusal::Other:
        return QStringLiteral("other");
    }
    return {};
}

std::unique_ptr<GlobalShortcuts> GlobalShortcuts::createPortal(const QString &applicationId,
                                                               QObject *parent)
{
    // The registration holds for a whole connection and must be its first portal call: the
    // shared session connection may already have asked the portal (Qt reads its settings).
    return std::make_unique<PortalGlobalShortcuts>(
        QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                      QStringLiteral("korvale-global-shortcuts")),
        applicationId, parent);
}

PortalGlobalShortcuts::PortalGlobalShortcuts(QDBusConnection bus, const QString &applicationId,
                                             QObject *parent)
    : GlobalShortcuts(parent)
    , mBus(std::move(bus))
    , mApplicationId(applicationId)
{
    registerTypes();
    if (!mBus.isConnected()) {
        setStatus(Status::Unavailable, QStringLiteral("no session bus"));
        return;
    }
    const QString signalPath = DesktopPath;
    mBus.connect(Service, signalPath, Interface, QStringLiteral("Activated"), this,
                 SLOT(onActivated(QDBusMessage)));
    mBus.connect(Service, signalPath, Interface, QStringLiteral("Deactivated"), this,
                 SLOT(onDeactivated(QDBusMessage)));
    mBus.connect(Service, signalPath, Interface, QStringLiteral("ShortcutsChanged"), this,
                 SLOT(onShortcutsChanged(QDBusMessage)));
    // A portal that restarts has forgotten the session: bind again in a new one.
    auto *watcher = new QDBusServiceWatcher(Service, mBus,
                                            QDBusServiceWatcher::WatchForRegistration
                                                | QDBusServiceWatcher::WatchForUnregistration,
                                            this);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        ++mGeneration;
        mBusy = false;
        mSession = {};
        mBound.clear();
        mTriggers.clear();
        setStatus(Status::Unavailable, QStringLiteral("the desktop portal left the bus"));
    });
    // A new portal process knows nothing of the registration either.
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this,
            [this] { registerThenProbe(); });
    registerThenProbe();
}

PortalGlobalShortcuts::~PortalGlobalShortcuts()
{
    closeSession();
}

QString PortalGlobalShortcuts::requestPath(const QString &uniqueName, const QString &token)
{
    QString sender = uniqueName.startsWith(QLatin1Char(':')) ? uniqueName.mid(1) : uniqueName;
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return DesktopPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

void PortalGlobalShortcuts::bindShortcuts(const QList<Shortcut> &shortcuts)
{
    mWanted = shortcuts;
    mBindWanted = true;
    if (mStatus == Status::Probing || mStatus == Status::Unavailable || mBusy)
        return; // bound once the portal is known, or once the binding under way is done
    // A list the desktop refused, or whose session it closed, waits for the next change rather
    // than asking the user again at every reading of the settings.
    if (mWanted == mBound && (!mSession.path().isEmpty() || mStatus == Status::Refused))
        return;
    startBinding();
}

void PortalGlobalShortcuts::registerThenProbe()
{
    mRegistrationError.clear();
    if (mApplicationId.isEmpty()) {
        probe();
        return;
    }
    const quint64 generation = mGeneration;
    setStatus(Status::Probing);
    QDBusMessage registration = QDBusMessage::createMethodCall(
        Service, DesktopPath, RegistryInterface, QStringLiteral("Register"));
    registration.setArguments({mApplicationId, QVariantMap()});
    auto *watcher = new QDBusPendingCallWatcher(mBus.asyncCall(registration), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                if (generation != mGeneration)
                    return;
                const QDBusPendingReply<> reply = *call;
                const QDBusError::ErrorType type = reply.error().type();
                // A portal older than the registry, or one that has withdrawn it, tells the
                // application by other means: that is no error.
                // No portal at all: the probe says so.
                if (reply.isError() && type != QDBusError::UnknownMethod
                    && type != QDBusError::UnknownInterface && type != QDBusError::UnknownObject
                    && type != QDBusError::ServiceUnknown) {
                    mRegistrationError = reply.error().message();
                    KorvaleLog::line(
                        QStringLiteral("The desktop portal did not register the agent as %1: %2")
                            .arg(mApplicationId, mRegistrationError));
                }
                probe();
            });
}

void PortalGlobalShortcuts::probe()
{
    const quint64 generation = mGeneration;
    setStatus(Status::Probing);
    QDBusMessage get = QDBusMessage::createMethodCall(
        Service, DesktopPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get.setArguments({Interface, QStringLiteral("version")});
    auto *watcher = new QDBusPendingCallWatcher(mBus.asyncCall(get), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                if (generation != mGeneration)
                    return;
                const QDBusPendingReply<QDBusVariant> reply = *call;
                if (reply.isError()) {
                    setStatus(Status::Unavailable, reply.error().message());
                    return;
                }
                const uint version = reply.value().variant().toUInt();
                if (version < 1) {
                    setStatus(Status::Unavailable,
                              QStringLiteral("the desktop portal has no global shortcuts"));
                    return;
                }
                setStatus(Status::Bound);
                if (mBindWanted)
                    startBinding();
            });
}

void PortalGlobalShortcuts::startBinding()
{
    mBusy = true;
    ++mGeneration;
    setStatus(Status::Binding);
    closeSession();
    createSession();
}

void PortalGlobalShortcuts::createSession()
{
    const quint64 generation = mGeneration;
    const QVariantMap options{{QStringLiteral("session_handle_token"), newToken()}};
    request(QStringLiteral("CreateSession"), {options}, 0,
            [this, generation](uint code, const QVariantMap &results) {
                if (generation != mGeneration)
                    return;
                const QDBusObjectPath session = sessionHandleOf(results);
                if (code != 0 || session.path().isEmpty()) {
                    mBusy = false;
                    mBound = mWanted;
                    const QString error = results.value(QStringLiteral("error")).toString();
                    // A portal that refuses a session outright to an application it could not
                    // register does so as not allowed.
                    if (results.value(QStringLiteral("errorName")).toString()
                            == QLatin1String("org.freedesktop.portal.Error.NotAllowed")
                        && (!mRegistrationError.isEmpty() || mApplicationId.isEmpty()))
                        refuse(Refusal::UnknownApplication,
                               mRegistrationError.isEmpty()
                                   ? error
                                   : mRegistrationError + QStringLiteral("; ") + error);
                    else
                        refuse(Refusal::Other,
                               code != 0 ? error : QStringLiteral("the portal named no session"));
                    return;
                }
                mSession = session;
                mBus.connect(Service, mSession.path(), SessionInterface, QStringLiteral("Closed"),
                             this, SLOT(onSessionClosed(QDBusMessage)));
                bindInSession();
            });
}

void PortalGlobalShortcuts::bindInSession()
{
    const quint64 generation = mGeneration;
    const QList<Shortcut> sent = mWanted;
    QList<PortalShortcut> shortcuts;
    for (const Shortcut &shortcut : sent) {
        QVariantMap properties{{QStringLiteral("description"), shortcut.description}};
        if (!shortcut.preferredTrigger.isEmpty())
            properties.insert(QStringLiteral("preferred_trigger"), shortcut.preferredTrigger);
        shortcuts.append({shortcut.id, properties});
    }
    // No window of ours asks: the portal places its dialog itself.
    request(
        QStringLiteral("BindShortcuts"),
        {QVariant::fromValue(mSession), QVariant::fromValue(shortcuts), QString(), QVariantMap()},
        3, [this, generation, sent](uint code, const QVariantMap &results) {
            if (generation != mGeneration)
                return;
            mBound = sent;
            if (code != 0) {
                mBusy = false;
                mTriggers.clear();
                if (code == 1)
                    refuse(Refusal::Declined, QStringLiteral("the shortcuts were declined"));
                else
                    refuse(Refusal::Other,
                           results
                               .value(QStringLiteral("error"),
                                      QStringLiteral("the desktop did not bind the shortcuts"))
                               .toString());
                startBindingIfChanged();
                return;
            }
            takeTriggers(results.value(QStringLiteral("shortcuts")));
            setStatus(Status::Bound);
            // The desktop's dialog may have settled the keys after its answer.
            listShortcuts();
        });
}

void PortalGlobalShortcuts::listShortcuts()
{
    const quint64 generation = mGeneration;
    request(QStringLiteral("ListShortcuts"), {QVariant::fromValue(mSession), QVariantMap()}, 1,
            [this, generation](uint code, const QVariantMap &results) {
                if (generation != mGeneration)
                    return;
                mBusy = false;
                if (code == 0 && results.contains(QStringLiteral("shortcuts"))) {
                    takeTriggers(results.value(QStringLiteral("shortcuts")));
                    emit changed();
                }
                startBindingIfChanged();
            });
}

void PortalGlobalShortcuts::startBindingIfChanged()
{
    if (mBindWanted && mWanted != mBound)
        startBinding();
}

void PortalGlobalShortcuts::closeSession()
{
    if (mSession.path().isEmpty())
        return;
    mBus.disconnect(Service, mSession.path(), SessionInterface, QStringLiteral("Closed"), this,
                    SLOT(onSessionClosed(QDBusMessage)));
    const QDBusMessage close = QDBusMessage::createMethodCall(
        Service, mSession.path(), SessionInterface, QStringLiteral("Close"));
    mBus.call(close, QDBus::NoBlock);
    mSession = {};
    mTriggers.clear();
}

void PortalGlobalShortcuts::request(const QString &method, QList<QVariant> arguments,
                                    int optionsIndex, ResponseHandler handler)
{
    const QString token = newToken();
    QVariantMap options = arguments.at(optionsIndex).toMap();
    options.insert(QStringLiteral("handle_token"), token);
    arguments[optionsIndex] = options;

    auto *waiter = new PortalRequestWaiter(mBus, std::move(handler), this);
    waiter->listen(requestPath(mBus.baseService(), token));
    QDBusMessage call = QDBusMessage::createMethodCall(Service, DesktopPath, Interface, method);
    call.setArguments(arguments);
    auto *watcher = new QDBusPendingCallWatcher(mBus.asyncCall(call), this);
    // The Response may come first and end the waiter: the reply then only goes.
    connect(
        watcher, &QDBusPendingCallWatcher::finished, this,
        [waiter = QPointer<PortalRequestWaiter>(waiter), method](QDBusPendingCallWatcher *call) {
            call->deleteLater();
            if (!waiter)
                return;
            const QDBusPendingReply<QDBusObjectPath> reply = *call;
            if (reply.isError()) {
                KorvaleLog::line(QStringLiteral("The desktop portal refused %1: %2")
                                     .arg(method, reply.error().message()));
                waiter->finish(2,
                               {{QStringLiteral("error"), reply.error().message()},
                                {QStringLiteral("errorName"), reply.error().name()}});
                return;
            }
            // A portal older than the computed names answers on a path of its own.
            waiter->listen(reply.value().path());
        });
}

QString PortalGlobalShortcuts::newToken()
{
    return QStringLiteral("korvale%1").arg(QRandomGenerator::global()->generate());
}

void PortalGlobalShortcuts::refuse(Refusal refusal, const QString &reason)
{
    const bool otherRefusal = refusal != mRefusal;
    mRefusal = refusal;
    if (mStatus == Status::Refused && reason == mReason) {
        if (otherRefusal)
            emit changed();
        return;
    }
    setStatus(Status::Refused, reason);
}

void PortalGlobalShortcuts::setStatus(Status status, const QString &reason)
{
    if (status != Status::Refused)
        mRefusal = Refusal::None;
    if (status == mStatus && reason == mReason)
        return;
    if (!reason.isEmpty() && status != Status::Probing)
        KorvaleLog::line(QStringLiteral("Global shortcuts through the desktop portal: %1: %2")
                             .arg(statusName(status), reason));
    mStatus = status;
    mReason = reason;
    emit changed();
}

void PortalGlobalShortcuts::takeTriggers(const QVariant &shortcuts)
{
    const std::optional<QList<PortalShortcut>> list = shortcutList(shortcuts);
    if (!list)
        return;
    mTriggers.clear();
    for (const PortalShortcut &shortcut : *list) {
        mTriggers.append(
            {shortcut.id, shortcut.properties.value(QStringLiteral("description")).toString(),
             shortcut.properties.value(QStringLiteral("trigger_description")).toString()});
    }
}

namespace {

// The session and shortcut id of an Activated or Deactivated signal, when it has the
// documented arguments (o s t a{sv}).
std::optional<std::pair<QString, QString>> shortcutEvent(const QDBusMessage &message)
{
    if (message.signature() != QLatin1String("osta{sv}"))
        return std::nullopt;
    const QList<QVariant> arguments = message.arguments();
    return std::pair{arguments.at(0).value<QDBusObjectPath>().path(), arguments.at(1).toString()};
}

} // namespace

void PortalGlobalShortcuts::onActivated(const QDBusMessage &message)
{
    const auto event = shortcutEvent(message);
    if (!event || mSession.path().isEmpty() || event->first != mSession.path())
        return;
    const QVariantMap options = qdbus_cast<QVariantMap>(message.arguments().at(3));
    emit activated(event->second,
                   options.value(QStringLiteral("activation_token")).toString().toUtf8());
}

void PortalGlobalShortcuts::onDeactivated(const QDBusMessage &message)
{
    const auto event = shortcutEvent(message);
    if (event && !mSession.path().isEmpty() && event->first == mSession.path())
        emit deactivated(event->second);
}

void PortalGlobalShortcuts::onShortcutsChanged(const QDBusMessage &message)
{
    if (message.signature() != QLatin1String("oa(sa{sv})") || mSession.path().isEmpty())
        return;
    const QList<QVariant> arguments = message.arguments();
    if (arguments.at(0).value<QDBusObjectPath>().path() != mSession.path())
        return;
    takeTriggers(arguments.at(1));
    emit changed();
}

void PortalGlobalShortcuts::onSessionClosed(const QDBusMessage &)
{
    // The desktop ended the session (its settings, a policy): the keys are gone until the next
    // change of the shortcuts binds them anew.
    mSession = {};
    mTriggers.clear();
    ++mGeneration;
    mBusy = false;
    refuse(Refusal::SessionClosed, QStringLiteral("the desktop closed the shortcuts' session"));
}

#include "PortalGlobalShortcuts.moc"

const QString PortalGlobalShortcuts::Service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalGlobalShortcuts::DesktopPath =
    QStringLiteral("/org/freedesktop/portal/desktop");
const QString PortalGlobalShortcuts::Interface =
    QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString PortalGlobalShortcuts::RegistryInterface =
    QStringLiteral("org.freedesktop.host.portal.Registry");
