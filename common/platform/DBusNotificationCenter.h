#pragma once

#include "NotificationCenter.h"

#include <QDBusConnection>
#include <QDBusMessage>

// Notifications as D-Bus session-bus signals: path /org/korvale/Notifications, interface
// org.korvale.Notifications, member = channel name, arguments (object string, user info a{sv}).
class DBusNotificationCenter final : public NotificationCenter
{
    Q_OBJECT
public:
    static const QString Path;
    static const QString Interface;

    explicit DBusNotificationCenter(const QDBusConnection &connection, QObject *parent = nullptr);
    ~DBusNotificationCenter() override;

    bool isAvailable() const override { return mConnection.isConnected(); }
    QString why() const override;

    bool post(const QString &channel, const QString &object, const QVariantMap &userInfo) override;
    bool observe(const QString &channel) override;
    void stopObserving(const QString &channel) override;

    // D-Bus carries no date type: a date travels as a one-key dictionary {"krv.date": seconds
    // since 1970 as a real} and is turned back into a date on arrival. Null values are left out.
    static QVariant toWire(const QVariant &value);
    static QVariant fromWire(const QVariant &value);

private slots:
    void handleSignal(const QDBusMessage &message);

private:
    QDBusConnection mConnection;
    bool mUnflushedPosts = false;
};
