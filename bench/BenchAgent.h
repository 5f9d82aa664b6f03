#pragma once

// Talking to the real agent from a benchmark run under scripts/with-session.sh: its access
// window's state and methods on the session bus, and the steady clock it stamps its times with.
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QVariantMap>

#include <chrono>
#include <unistd.h>

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

// The agent's Status() (org.korvale.Instance); empty while it does not answer.
inline QVariantMap status()
{
    const QDBusMessage reply = QDBusConnection::sessionBus().call(
        QDBusMessage::createMethodCall(
            QStringLiteral("org.korvale.Daemon"), QStringLiteral("/org/korvale/Instance"),
            QStringLiteral("org.korvale.Instance"), QStringLiteral("Status")),
        QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qdbus_cast<QVariantMap>(reply.arguments().first());
}

// User and system time of a process, in seconds; -1 when it cannot be read.
inline double processCpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // The fields after the command name, which may hold spaces, closed by ')'.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    const double ticks = double(sysconf(_SC_CLK_TCK));
    return (fields.at(11).toDouble() + fields.at(12).toDouble()) / ticks;
}

} // namespace BenchAgent
