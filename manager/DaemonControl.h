#pragma once

#include <QObject>
#include <QString>

#include <functional>

class NotificationCenter;
class SessionPrograms;

// The agent as the manager controls it: started from beside the manager's own program, stopped
// with "QuitDaemon", and kept in or out of the user's login items.
class DaemonControl : public QObject
{
    Q_OBJECT
public:
    struct Environment {
        // Empty: "korvale-daemon" beside this program.
        QString daemonPath;
        NotificationCenter *notifications = nullptr;
        // Empty: the programs on this session's bus.
        const SessionPrograms *programs = nullptr;
        // Empty: a detached process.
        std::function<bool(const QString &)> start;
        // Shows the "MultipleDaemons" alert naming the other copy's folder.
        std::function<void(const QString &)> multipleDaemons;
    };

    static constexpr int LaunchCheckDelayMs = 5000;

    explicit DaemonControl(Environment environment, QObject *parent = nullptr);

    QString daemonPath() const { return mEnvironment.daemonPath; }
    // This copy's agent runs in this session.
    bool daemonIsLaunched() const;
    // launchDaemon: false only when another copy's agent runs in this session.
    bool launchDaemon();
    void setDaemonInLoginItems(bool inLoginItems);
    // daemonActivation: on, the agent runs and starts at login; off, it quits and does not.
    void apply(bool active);

signals:
    // checkIfDaemonIsNowLaunched: the answer, five seconds after a start.
    void launchChecked(bool running);

private:
    Environment mEnvironment;
};
