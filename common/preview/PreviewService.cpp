#include "PreviewService.h"

#include "KorvaleLog.h"
#include "NativeFileName.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>

const QString NautilusPreviewService::ServiceName = QStringLiteral("org.gnome.NautilusPreviewer");
const QString NautilusPreviewService::ObjectPath = QStringLiteral("/org/gnome/NautilusPreviewer");
const QString NautilusPreviewService::Interface = QStringLiteral("org.gnome.NautilusPreviewer");

bool NautilusPreviewService::isAvailable()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    QDBusConnectionInterface *names = bus.interface();
    if (names->isServiceRegistered(ServiceName).value())
        return true;
    // The previewer is usually started by the bus on the first call.
    const QDBusReply<QStringList> activatable = names->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(ServiceName);
}

void NautilusPreviewService::showFile(const QString &path, unsigned long windowId,
                                      std::function<void(bool ok)> done)
{
    QDBusMessage call = QDBusMessage::createMethodCall(ServiceName, ObjectPath, Interface,
                                                       QStringLiteral("ShowFile"));
    // The window id is an X11 window the previewer may put itself above; 0 when there is none.
    call << QString::fromLatin1(NativeFileName::fileUri(path)) << int(windowId) << true;
    auto *watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), nullptr);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [done = std::move(done)](QDBusPendingCallWatcher *finished) {
                         const QDBusPendingReply<> reply = *finished;
                         if (reply.isError())
                             KorvaleLog::line(QStringLiteral("Unable to show the file preview: %1")
                                                  .arg(reply.error().message()));
                         if (done)
                             done(!reply.isError());
                         finished->deleteLater();
                     });
}

void NautilusPreviewService::close()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(ServiceName, ObjectPath, Interface, QStringLiteral("Close"));
    call.setAutoStartService(false);
    bus.send(call);
}
