#pragma once

// Talking to the real agent from a benchmark run under scripts/with-session.sh: its access
// window's state and methods on the session bus, and the steady clock it stamps its times with.
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

#include <chrono>

namespace BenchAgent {

inline qint64 steadyNow()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline QDBusMessage accessWindowCall(const QString &method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.korvale.Daemon"),
                                          QStringLiteral("/org/korvale/AccessWindow"),
                                          QStringLiteral("org.korvale.AccessWindow"), method);
}

// Empty while the agent does not answer.
inline QVariantMap state()
{
    const QDBusMessage reply = QDBusConnection::sessionBus().call(
        accessWindowCall(QStringLiteral("State")), QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qdbus_cast<QVariantMap>(reply.arguments().first());
}

inline void call(const QString &method)
{
    QDBusConnection::sessionBus().call(accessWindowCall(method));
}

} // namespace BenchAgent
