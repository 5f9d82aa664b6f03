#include "DesktopNotifications.h"

#include "SessionPrograms.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

bool DesktopNotifications::notify(const QString &summary, const QString &body,
                                  const QString &iconName)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // A failed save stays until the user has read it: urgency critical, no expiry.
    const QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue<uchar>(2)},
                            {QStringLiteral("desktop-entry"), SessionProgram::daemon().service}};
    call << QStringLiteral("Korvale") << uint(0) << iconName << summary << body << QStringList()
         << hints << int(0);
    return bus.send(call);
}
