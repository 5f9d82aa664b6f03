#include "ManagerHandOver.h"

#include "DaemonController.h"
#include "DaemonHooks.h"
#include "ItemRecord.h"
#include "platform/NotificationCenter.h"

#include <QTimer>

ManagerHandOver::ManagerHandOver(DaemonController &daemon, QObject *parent)
    : QObject(parent)
    , mDaemon(daemon)
{
}

QVariantMap ManagerHandOver::recordForBus(const QVariantMap &record)
{
    // Any client of the session bus sees the notification: of a protected note only its kind
    // goes, which is all the manager needs to open the section that asks for the password.
    if (record.value(ItemRecord::KeyKind).toInt() == ItemRecord::KindProtectedNote)
        return {{ItemRecord::KeyKind, int(ItemRecord::KindProtectedNote)}};
    return record;
}

void ManagerHandOver::editInManager(const QVariantMap &record)
{
    handOver(QStringLiteral("EditItem"), recordForBus(record));
}

void ManagerHandOver::showTourInManager()
{
    handOver(QStringLiteral("ShowQuickTour"), {});
}

void ManagerHandOver::handOver(const QString &command, const QVariantMap &record)
{
    if (mDaemon.hooks().isMainAppLaunched()) {
        post(command, record);
        return;
    }
    mDaemon.openMainApp();
    waitForManager(command, record, LaunchChecks);
}

void ManagerHandOver::waitForManager(const QString &command, const QVariantMap &record,
                                     int checksLeft)
{
    QTimer::singleShot(LaunchCheckIntervalMs, this, [this, command, record, checksLeft] {
        const bool running = mDaemon.hooks().isMainAppLaunched();
        if (running)
            mDaemon.flags().mMainAppLaunched = true;
        if (running || checksLeft <= 1) {
            // Whether or not it came up, the manager gets a moment to listen before the post.
            QTimer::singleShot(SettleMs, this, [this, command, record] { post(command, record); });
            return;
        }
        waitForManager(command, record, checksLeft - 1);
    });
}

void ManagerHandOver::post(const QString &command, const QVariantMap &record)
{
    mDaemon.notifications().post(NotificationChannel::Main, command, record);
    emit handedOver(command, record);
}
