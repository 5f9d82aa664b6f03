#pragma once

#include <QObject>
#include <QVariantMap>

class DaemonController;

// Edits the agent leaves to the manager: the manager is started when it does not run, given a
// moment to listen, and sent "EditItem" with the record on the manager's channel.
class ManagerHandOver : public QObject
{
    Q_OBJECT
public:
    static constexpr int LaunchChecks = 20;
    static constexpr int LaunchCheckIntervalMs = 100;
    static constexpr int SettleMs = 500;

    explicit ManagerHandOver(DaemonController &daemon, QObject *parent = nullptr);

    void editInManager(const QVariantMap &record);

    // The record as it goes on the bus: nothing of a protected note but its kind leaves the agent.
    static QVariantMap recordForBus(const QVariantMap &record);

signals:
    void handedOver(const QVariantMap &record);

private:
    void waitForManager(const QVariantMap &record, int checksLeft);
    void post(const QVariantMap &record);

    DaemonController &mDaemon;
};
