#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QString>

#include <optional>

class ProcessTable;

// A program of the suite as its desktop session knows it: the name it owns on the session bus
// while it runs, and the file name of its executable.
struct SessionProgram {
    QString service;
    QString fileName;

    static SessionProgram daemon();
    static SessionProgram manager();
};

// The process that runs a program in this session. Its executable (links resolved, as the kernel
// reports it) is empty when it cannot be known: the owner of the name is not one of the user's
// processes here, or the bus would not say which process it is.
struct RunningProgram {
    qint64 pid = 0;
    QString executable;

    bool operator==(const RunningProgram &) const = default;
};

// Whether another program of the suite runs in this desktop session. A user may have several
// sessions at once (a second seat, a remote desktop), each with its own session bus and its own
// agent and manager: what runs in another one must neither stop this one's programs from starting
// nor receive its notifications, so the session bus is asked, never the user's process list.
class SessionPrograms
{
public:
    virtual ~SessionPrograms();

    // The process that owns the program's name on the session bus, or nothing.
    virtual std::optional<RunningProgram> running(const SessionProgram &program) const = 0;
    bool isRunning(const SessionProgram &program) const { return running(program).has_value(); }

    // This process's session bus; main thread only.
    static const SessionPrograms &session();
};

// Asks a bus who owns the name, and the process table which executable that process runs.
// Without a bus there is no session to ask: the first of the user's processes with the program's
// file name answers, which is all that can be known then.
class DBusSessionPrograms final : public SessionPrograms
{
public:
    // Empty bus: the session bus of the moment.
    explicit DBusSessionPrograms(std::optional<QDBusConnection> bus = std::nullopt,
                                 const ProcessTable *processes = nullptr);
    std::optional<RunningProgram> running(const SessionProgram &program) const override;

private:
    std::optional<QDBusConnection> mBus;
    const ProcessTable *mProcesses;
};

// Fixed answers, for tests.
class FakeSessionPrograms final : public SessionPrograms
{
public:
    std::optional<RunningProgram> running(const SessionProgram &program) const override;
    void setRunning(const SessionProgram &program, std::optional<RunningProgram> process);

private:
    QHash<QString, RunningProgram> mRunning; // by service name
};
