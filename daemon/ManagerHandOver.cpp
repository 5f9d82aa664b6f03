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
    if (mDaemon.hooks().isMainAppLaunched()) {
        post(record);
        return;
    }
    mDaemon.openMainApp();
    waitForManager(record, LaunchChecks);
}

void ManagerHandOver::waitForManager(const QVariantMap &record, int checksLeft)
{
    QTimer::singleShot(LaunchCheckIntervalMs, this, [this, record, checksLeft] {
        const bool running = mDaemon.hooks().isMainAppLaunched();
        if (running)
            mDaemon.flags().mMainAppLaunched = true;
        if (running || checksLeft <= 1) {
            // Whether or not it came up, the manager gets a moment to listen before the post.
            QTimer::singleShot(SettleMs, this, [this, record] { post(record); });
            return;
        }
        waitForManager(record, checksLeft - 1);
    });
}

void ManagerHandOver::post(const QVariantMap &record)
{
    const QVariantMap sent = recordForBus(record);
    mDaemon.notifications().post(NotificationChannel::Main, QStringLiteral("EditItem"), sent);
    emit handedOver(sent);
}
