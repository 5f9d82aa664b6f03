#include "DaemonControl.h"

#include "KorvaleLog.h"
#include "platform/NotificationCenter.h"
#include "platform/ProcessTable.h"
#include "platform/QOR_AppUtils.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <algorithm>

DaemonControl::DaemonControl(Environment environment, QObject *parent)
    : QObject(parent)
    , mEnvironment(std::move(environment))
{
    if (mEnvironment.daemonPath.isEmpty())
        mEnvironment.daemonPath =
            QCoreApplication::applicationDirPath() + QStringLiteral("/korvale-daemon");
    if (!mEnvironment.processes)
        mEnvironment.processes = &ProcessTable::system();
    if (!mEnvironment.start)
        mEnvironment.start = [](const QString &path) { return QProcess::startDetached(path, {}); };
}

bool DaemonControl::daemonIsLaunched() const
{
    const QList<ProcessInfo> processes = mEnvironment.processes->processes();
    return std::any_of(processes.cbegin(), processes.cend(), [this](const ProcessInfo &process) {
        return process.executable == mEnvironment.daemonPath;
    });
}

bool DaemonControl::launchDaemon()
{
    if (daemonIsLaunched())
        return true;
    const QString elsewhere =
        QOR_AppUtils::daemonProcessesElsewhere(mEnvironment.daemonPath, *mEnvironment.processes);
    if (!elsewhere.isEmpty()) {
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
