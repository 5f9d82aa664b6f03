#include "SessionPrograms.h"

#include "ProcessTable.h"

#include <QDBusConnectionInterface>

SessionProgram SessionProgram::daemon()
{
    return {QStringLiteral("org.korvale.Daemon"), QStringLiteral("korvale-daemon")};
}

SessionProgram SessionProgram::manager()
{
    return {QStringLiteral("org.korvale.Manager"), QStringLiteral("korvale-manager")};
}

SessionPrograms::~SessionPrograms() = default;

const SessionPrograms &SessionPrograms::session()
{
    static const DBusSessionPrograms programs;
    return programs;
}

DBusSessionPrograms::DBusSessionPrograms(std::optional<QDBusConnection> bus,
                                         const ProcessTable *processes)
    : mBus(std::move(bus))
    , mProcesses(processes ? processes : &ProcessTable::system())
{
}

std::optional<RunningProgram> DBusSessionPrograms::running(const SessionProgram &program) const
{
    const QDBusConnection bus = mBus ? *mBus : QDBusConnection::sessionBus();
    QDBusConnectionInterface *daemon = bus.isConnected() ? bus.interface() : nullptr;
    if (!daemon) {
        for (const ProcessInfo &process : mProcesses->processes()) {
            if (process.name == program.fileName)
                return RunningProgram{process.pid, process.executable};
        }
        return std::nullopt;
    }
    const QDBusReply<bool> registered = daemon->isServiceRegistered(program.service);
    if (!registered.isValid() || !registered.value())
        return std::nullopt;
    RunningProgram owner;
    // An owner that let the name go in between still ran a moment ago: running, executable
    // unknown.
    if (const QDBusReply<uint> pid = daemon->servicePid(program.service); pid.isValid()) {
        owner.pid = pid.value();
        if (const std::optional<ProcessInfo> process = mProcesses->process(owner.pid))
            owner.executable = process->executable;
    }
    return owner;
}

std::optional<RunningProgram> FakeSessionPrograms::running(const SessionProgram &program) const
{
    const auto found = mRunning.constFind(program.service);
    if (found == mRunning.cend())
        return std::nullopt;
    return *found;
}

void FakeSessionPrograms::setRunning(const SessionProgram &program,
                                     std::optional<RunningProgram> process)
{
    if (process)
        mRunning.insert(program.service, *process);
    else
        mRunning.remove(program.service);
}
