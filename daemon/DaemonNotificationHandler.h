#pragma once

#include <QString>
#include <QVariantMap>

class DaemonController;

// What the agent does with each command of "KRV1_DaemonNotification" and
// "KRV1_BrowserNotification" (receiveNotification). Work is deferred on the main thread so that
// commands posted together are handled in order, after the sender synchronised its preferences.
class DaemonNotificationHandler
{
public:
    explicit DaemonNotificationHandler(DaemonController &controller)
        : mController(controller)
    {
    }

    void receiveNotification(const QString &channel, const QString &object,
                             const QVariantMap &userInfo);

private:
    void handleDaemonCommand(const QString &object);
    void handleBrowserCommand(const QString &object);

    DaemonController &mController;
};
