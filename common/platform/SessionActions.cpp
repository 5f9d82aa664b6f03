#include "SessionActions.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>

const QString SessionActions::Login1Service = QStringLiteral("org.freedesktop.login1");
const QString SessionActions::ScreenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString SessionActions::GnomeSessionService = QStringLiteral("org.gnome.SessionManager");
const QString SessionActions::KdeShutdownService = QStringLiteral("org.kde.Shutdown");

namespace {

const QString Login1Path = QStringLiteral("/org/freedesktop/login1");
const QString Login1Manager = QStringLiteral("org.freedesktop.login1.Manager");
// The Can… answers come from polkit; a machine that takes longer is not asked to wait.
constexpr int AnswerTimeoutMs = 500;

} // namespace

SessionActions::SessionActions(QDBusConnection system, QDBusConnection session)
    : mSystem(std::move(system))
    , mSession(std::move(session))
{
}

QString SessionActions::idOf(Action action)
{
    switch (action) {
    case Action::Lock:
        return QStringLiteral("lock");
    case Action::LogOut:
        return QStringLiteral("logout");
    case Action::Suspend:
        return QStringLiteral("suspend");
    case Action::Hibernate:
        return QStringLiteral("hibernate");
    case Action::Restart:
        return QStringLiteral("restart");
    case Action::ShutDown:
        return QStringLiteral("shutdown");
    }
    return {};
}

bool SessionActions::fromId(const QString &id, Action *action)
{
    for (const Action candidate : AllActions) {
        if (idOf(candidate) == id) {
            *action = candidate;
            return true;
        }
    }
    return false;
}

bool SessionActions::hasService(const QDBusConnection &bus, const QString &service) const
{
    return bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(service);
}

QString SessionActions::login1Can(const QString &method) const
{
    if (!mSystem.isConnected())
        return {};
    const QDBusMessage call =
        QDBusMessage::createMethodCall(Login1Service, Login1Path, Login1Manager, method);
    const QDBusReply<QString> reply = mSystem.call(call, QDBus::Block, AnswerTimeoutMs);
    return reply.isValid() ? reply.value() : QString();
}

bool SessionActions::canDo(Action action) const
{
    const auto allowed = [this](const QString &method) {
        const QString answer = login1Can(method);
        return answer == QLatin1String("yes") || answer == QLatin1String("challenge");
    };
    switch (action) {
    case Action::Lock:
        return hasService(mSession, ScreenSaverService) || hasService(mSystem, Login1Service);
    case Action::LogOut:
        return hasService(mSession, GnomeSessionService) || hasService(mSession, KdeShutdownService)
            || hasService(mSystem, Login1Service);
    case Action::Suspend:
        return allowed(QStringLiteral("CanSuspend"));
    case Action::Hibernate:
        return allowed(QStringLiteral("CanHibernate"));
    case Action::Restart:
        return allowed(QStringLiteral("CanReboot"));
    case Action::ShutDown:
        return allowed(QStringLiteral("CanPowerOff"));
    }
    return false;
}

QString SessionActions::sessionId()
{
    // login1 reads "auto" as the caller's own session, or its display's.
    const QString id = qEnvironmentVariable("XDG_SESSION_ID");
    return id.isEmpty() ? QStringLiteral("auto") : id;
}

bool SessionActions::callLogin1(const QString &method, const QVariantList &arguments) const
{
    if (!hasService(mSystem, Login1Service))
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(Login1Service, Login1Path, Login1Manager, method);
    call.setArguments(arguments);
    // Lets polkit ask the user for a password where the machine's rules want one.
    call.setInteractiveAuthorizationAllowed(true);
    return mSystem.send(call);
}

QStringList SessionActions::programsHoldingLogout() const
{
    QStringList programs;
    if (!hasService(mSession, GnomeSessionService))
        return programs;
    const QString inhibitorInterface = QStringLiteral("org.gnome.SessionManager.Inhibitor");
    const QDBusReply<QList<QDBusObjectPath>> inhibitors =
        mSession.call(QDBusMessage::createMethodCall(
                          GnomeSessionService, QStringLiteral("/org/gnome/SessionManager"),
                          GnomeSessionService, QStringLiteral("GetInhibitors")),
                      QDBus::Block, AnswerTimeoutMs);
    if (!inhibitors.isValid())
        return programs;
    // A desktop holding thousands would be a fault: the first few say enough.
    constexpr int MostShown = 8;
    constexpr int LongestText = 200;
    for (const QDBusObjectPath &path : inhibitors.value()) {
        if (programs.size() == MostShown)
            break;
        const auto ask = [&](const QString &method) {
            return mSession.call(QDBusMessage::createMethodCall(GnomeSessionService, path.path(),
                                                                inhibitorInterface, method),
                                 QDBus::Block, AnswerTimeoutMs);
        };
        // Flag 1: the logout is held.
        const QDBusReply<uint> flags = ask(QStringLiteral("GetFlags"));
        if (!flags.isValid() || !(flags.value() & 1u))
            continue;
        const QDBusReply<QString> application = ask(QStringLiteral("GetAppId"));
        const QDBusReply<QString> reason = ask(QStringLiteral("GetReason"));
        QString text = application.isValid() ? application.value().left(LongestText) : QString();
        if (text.endsWith(QLatin1String(".desktop")))
            text.chop(8);
        if (reason.isValid() && !reason.value().isEmpty())
            text += QStringLiteral(": ") + reason.value().left(LongestText).simplified();
        if (!text.isEmpty())
            programs << text;
    }
    return programs;
}

bool SessionActions::perform(Action action) const
{
    // Suspend and the others with "interactive" set: polkit may ask for authorisation.
    switch (action) {
    case Action::Lock:
        if (hasService(mSession, ScreenSaverService))
            return mSession.send(QDBusMessage::createMethodCall(
                ScreenSaverService, QStringLiteral("/org/freedesktop/ScreenSaver"),
                ScreenSaverService, QStringLiteral("Lock")));
        return callLogin1(QStringLiteral("LockSession"), {sessionId()});
    case Action::LogOut:
        if (hasService(mSession, GnomeSessionService)) {
            // Mode 1: without GNOME's own dialog, since the user confirmed here.
            QDBusMessage call = QDBusMessage::createMethodCall(
                GnomeSessionService, QStringLiteral("/org/gnome/SessionManager"),
                GnomeSessionService, QStringLiteral("Logout"));
            call.setArguments({QVariant::fromValue(uint(1))});
            return mSession.send(call);
        }
        if (hasService(mSession, KdeShutdownService))
            return mSession.send(
                QDBusMessage::createMethodCall(KdeShutdownService, QStringLiteral("/Shutdown"),
                                               KdeShutdownService, QStringLiteral("logout")));
        return callLogin1(QStringLiteral("TerminateSession"), {sessionId()});
    case Action::Suspend:
        return callLogin1(QStringLiteral("Suspend"), {true});
    case Action::Hibernate:
        return callLogin1(QStringLiteral("Hibernate"), {true});
    case Action::Restart:
        return callLogin1(QStringLiteral("Reboot"), {true});
    case Action::ShutDown:
        return callLogin1(QStringLiteral("PowerOff"), {true});
    }
    return false;
}
