#include "NotificationCenter.h"

#include <QMetaObject>
#include <QPointer>

namespace NotificationChannel {
const QString Daemon = QStringLiteral("KRV1_DaemonNotification");
const QString Main = QStringLiteral("KRV1_MainNotification");
const QString Browser = QStringLiteral("KRV1_BrowserNotification");
const QString QuickLook = QStringLiteral("KRV1_QuickLookNotification");
} // namespace NotificationChannel

bool NotificationChannel::isKnown(const QString &channel)
{
    return channel == Daemon || channel == Main || channel == Browser || channel == QuickLook;
}

void NotificationCenter::stopObservingAll()
{
    const QSet<QString> channels = mObserved;
    for (const QString &channel : channels)
        stopObserving(channel);
}

void NotificationCenter::deliver(const QString &channel, const QString &object,
                                 const QVariantMap &userInfo)
{
    if (object.isEmpty() || !mObserved.contains(channel))
        return;
    emit notificationReceived(channel, object, userInfo);
}

namespace {

class LocalNotificationCenter final : public NotificationCenter
{
public:
    using NotificationCenter::NotificationCenter;

    bool isAvailable() const override { return true; }

    bool post(const QString &channel, const QString &object, const QVariantMap &userInfo) override
    {
        if (!NotificationChannel::isKnown(channel) || object.isEmpty())
            return false;
        // Delivered later, as a notification from another program would be.
        QPointer<LocalNotificationCenter> self(this);
        QMetaObject::invokeMethod(
            this,
            [self, channel, object, userInfo] {
                if (self)
                    self->deliver(channel, object, userInfo);
            },
            Qt::QueuedConnection);
        return true;
    }

    bool observe(const QString &channel) override
    {
        if (!NotificationChannel::isKnown(channel))
            return false;
        mObserved.insert(channel);
        return true;
    }

    void stopObserving(const QString &channel) override { mObserved.remove(channel); }
};

} // namespace

std::unique_ptr<NotificationCenter> NotificationCenter::createLocalCenter(QObject *parent)
{
    return std::make_unique<LocalNotificationCenter>(parent);
}
