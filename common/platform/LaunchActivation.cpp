#include "LaunchActivation.h"

#include "DisplayAvailability.h"
#include "WaylandActivation.h"
#include "WaylandConnection.h"
#include "X11Windows.h"

#include <QCoreApplication>

#include <atomic>

namespace {

// An identifier in the form window managers expect ("..._TIME<server time>"): the new window
// may take the focus because the user just asked for it.
QByteArray x11StartupIdentifier(const char *what)
{
    static std::atomic<int> counter{0};
    const unsigned long time = X11Windows::serverTime();
    if (time == 0)
        return {};
    return QByteArray("korvale-") + what + '-'
        + QByteArray::number(QCoreApplication::applicationPid()) + '-'
        + QByteArray::number(++counter) + "_TIME" + QByteArray::number(qulonglong(time));
}

} // namespace

LaunchActivation LaunchActivation::forLaunch(const char *what, const QString &applicationId)
{
    LaunchActivation activation;
    if (DisplayAvailability::isWaylandSession()) {
        if (WaylandConnection *connection = WaylandConnection::session())
            activation.mActivationToken =
                WaylandActivation::requestToken(*connection, applicationId);
    }
    activation.mStartupId = activation.mActivationToken.isEmpty() ? x11StartupIdentifier(what)
                                                                  : activation.mActivationToken;
    return activation;
}

QStringList LaunchActivation::agentVariables(const QProcessEnvironment &environment)
{
    QStringList names;
    for (const QString &name : environment.keys()) {
        // The agent's settings and its tests' (KORVALE_*), and the leave the agent itself was
        // started with, spent on its own first window.
        if (name.startsWith(QLatin1String("KORVALE_"))
            || name == QLatin1String("XDG_ACTIVATION_TOKEN")
            || name == QLatin1String("DESKTOP_STARTUP_ID"))
            names << name;
    }
    return names;
}

QProcessEnvironment LaunchActivation::environment(const QProcessEnvironment &agent) const
{
    QProcessEnvironment launched = agent;
    for (const QString &name : agentVariables(agent))
        launched.remove(name);
    if (!mStartupId.isEmpty())
        launched.insert(QStringLiteral("DESKTOP_STARTUP_ID"), QString::fromUtf8(mStartupId));
    if (!mActivationToken.isEmpty())
        launched.insert(QStringLiteral("XDG_ACTIVATION_TOKEN"),
                        QString::fromUtf8(mActivationToken));
    return launched;
}
