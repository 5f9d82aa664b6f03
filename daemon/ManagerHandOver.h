#pragma once

#include <QObject>
#include <QVariantMap>

class DaemonController;

// What the agent leaves to the manager (an edit, the tour): the manager is started when it does
// not run, given a moment to listen, and sent the command on the manager's channel: "EditItem"
// with the record, or "ShowQuickTour".
class ManagerHandOver : public QObject
{
    Q_OBJECT
public:
    static constexpr int LaunchChecks = 20;
    static constexpr int LaunchCheckIntervalMs = 100;
    static constexpr int SettleMs = 500;

    explicit ManagerHandOver(DaemonController &daemon, QObject *parent = nullptr);

    void editInManager(const QVariantMap &record);
    void showTourInManager();

    // The record as it goes on the bus: nothing of a protected note but its kind leaves the agent.
    static QVariantMap recordForBus(const QVariantMap &record);

signals:
    void handedOver(const QString &command, const QVariantMap &record);

private:
    void handOver(const QString &command, const QVariantMap &record);
    void waitForManager(const QString &command, const QVariantMap &record, int checksLeft);
    void post(const QString &command, const QVariantMap &record);

    DaemonController &mDaemon;
};
