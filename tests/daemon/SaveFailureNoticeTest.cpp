// The agent says a failed save in a desktop notification, since none of its windows may be up.
#include "SaveFailureNotice.h"
#include "QOR_StringUtils.h"
#include "SaveFailures.h"
#include "SaveLock.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QObject>
#include <QStringList>

#include <cerrno>

#include <gtest/gtest.h>

namespace {

// The desktop's notification server, as far as the agent uses it.
class NotificationServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList received;

public slots:
    uint Notify(const QString &, uint, const QString &, const QString &summary, const QString &body,
                const QStringList &, const QVariantMap &, int)
    {
        received << summary + " | " + body;
        return uint(received.size());
    }
};

} // namespace

TEST(SaveFailureNotice, AFailedSaveOfTheAgentIsANotificationAndABusyOneIsTriedAgainUnsaid)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        GTEST_SKIP() << "no session bus";
    NotificationServer server;
    ASSERT_TRUE(bus.registerObject("/org/freedesktop/Notifications", &server,
                                   QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService("org.freedesktop.Notifications"));

    QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
    SaveFailureNotice::install();
    EXPECT_EQ(SaveLock::waitHere(), std::chrono::milliseconds(10)) << "on the main thread";
    SaveFailures::report("/data/ToDo.krvdata", SaveFailure::fromErrno(EWOULDBLOCK));
    SaveFailures::report("/data/ToDo.krvdata", SaveFailure::fromErrno(ENOSPC));
    SaveFailures::report("/data/ToDo.krvdata", SaveFailure::fromErrno(ENOSPC));
    for (QDeadlineTimer deadline(10000); server.received.isEmpty() && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    EXPECT_EQ(server.received,
              QStringList{"\u201cTo-Do\u201d could not be saved | The disk is full. Your change is "
                          "kept and will be saved again with your next change."});

    SaveFailures::setPresenter({});
    SaveLock::setMainThreadWait(std::chrono::milliseconds(2000));
    bus.unregisterService("org.freedesktop.Notifications");
    bus.unregisterObject("/org/freedesktop/Notifications");
}

#include "SaveFailureNoticeTest.moc"
