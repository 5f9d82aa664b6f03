#include "DaemonControl.h"

#include "KorvaleLog.h"
#include "platform/NotificationCenter.h"
#include "platform/QOR_AppUtils.h"
#include "platform/SessionPrograms.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

DaemonControl::DaemonControl(Environment environment, QObject *parent)
    : QObject(parent)
    , mEnvironment(std::move(environment))
{
    if (mEnvironment.daemonPath.isEmpty())
        mEnvironment.daemonPath =
            QCoreApplication::applicationDirPath() + QStringLiteral("/korvale-daemon");
    if (!mEnvironment.programs)
        mEnvironment.programs = &SessionPrograms::session();
    if (!mEnvironment.start)
        mEnvironment.start = [](const QString &path) { return QProcess::startDetached(path, {}); };
}

bool DaemonControl::daemonIsLaunched() const
{
    const std::optional<RunningProgram> agent =
        mEnvironment.programs->running(SessionProgram::daemon());
    return agent
        && QOR_AppUtils::otherCopyOfAgent(mEnvironment.daemonPath, agent->executable).isEmpty();
}

bool DaemonControl::launchDaemon()
{
    // Only this session's agent counts: another session of the same user has its own.
    if (const std::optional<RunningProgram> agent =
            mEnvironment.programs->running(SessionProgram::daemon())) {
        const QString elsewhere =
            QOR_AppUtils::otherCopyOfAgent(mEnvironment.daemonPath, agent->executable);
        if (elsewhere.isEmpty())
            return true;
        if (mEnvironment.multipleDaemons)
            mEnvironment.multipleDaemons(elsewhere);
        return false;
    }
    if (QFileInfo(mEnvironment.daemonPath).isExecutable()) {
        if (!mEnvironment.start(mEnvironment.daemonPath))
            KorvaleLog::line(QStringLiteral("Unable launching %1").arg(mEnvironment.daemonPath));
        QTimer::singleShot(LaunchCheckDelayMs, this,
                           [this] { emit launchChecked(daemonIsLaunched()); });
    } else {
        KorvaleLog::line(QStringLiteral("No agent at %1").arg(mEnvironment.daemonPath));
    }
    return true;
}

void DaemonControl::setDaemonInLoginItems(bool inLoginItems)
{
    if (inLoginItems)
        QOR_AppUtils::addToLoginItems(mEnvironment.daemonPath, false);
    else
        QOR_AppUtils::removeFromLoginItems(mEnvironment.daemonPath);
}

void DaemonControl::apply(bool active)
{
    if (!active) {
        setDaemonInLoginItems(false);
        if (mEnvironment.notifications)
            mEnvironment.notifications->post(NotificationChannel::Daemon,
                                             QStringLiteral("QuitDaemon"));
        return;
    }
    if (launchDaemon())
        setDaemonInLoginItems(true);
}
