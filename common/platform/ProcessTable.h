#pragma once

#include <QList>
#include <QString>

#include <optional>
#include <sys/types.h>

// One running process of the current user.
struct ProcessInfo {
    qint64 pid = 0;
    // File name of the executable (the kernel's short command name is cut at 15 bytes).
    QString name;
    // The desktop entry that launched the process when it is known, otherwise the executable.
    QString bundlePath;
    // Absolute path of the running executable.
    QString executable;

    bool operator==(const ProcessInfo &) const = default;
};

// The running processes of the current user, in ascending process id order.
class ProcessTable
{
public:
    virtual ~ProcessTable();
    virtual QList<ProcessInfo> processes() const = 0;
    // The process with this id when it is one of the user's; by default looked up in processes().
    virtual std::optional<ProcessInfo> process(qint64 pid) const;

    // The table of this machine (/proc); shared and safe to use from any thread.
    static const ProcessTable &system();
};

// Reads a proc file system. The root is a parameter so that tests can build a small tree.
class ProcProcessTable final : public ProcessTable
{
public:
    explicit ProcProcessTable(QString procRoot = QStringLiteral("/proc"));
    QList<ProcessInfo> processes() const override;
    std::optional<ProcessInfo> process(qint64 pid) const override;

    // The bundle path given the NUL-separated environment of process pid and its executable:
    // GIO names the launching desktop entry in GIO_LAUNCHED_DESKTOP_FILE, and the launched
    // process in GIO_LAUNCHED_DESKTOP_FILE_PID; children inherit both, so the entry belongs
    // to the process whose id is the one named.
    static QString bundlePathFromEnvironment(const QByteArray &environ, qint64 pid,
                                             const QString &executable);

private:
    std::optional<ProcessInfo> read(const char *pidName, qint64 pid, uid_t user) const;

    QString mProcRoot;
};

// A table with fixed contents, for tests.
class FakeProcessTable final : public ProcessTable
{
public:
    explicit FakeProcessTable(QList<ProcessInfo> processes = {})
        : mProcesses(std::move(processes))
    {
    }
    QList<ProcessInfo> processes() const override { return mProcesses; }
    void setProcesses(QList<ProcessInfo> processes) { mProcesses = std::move(processes); }

private:
    QList<ProcessInfo> mProcesses;
};
