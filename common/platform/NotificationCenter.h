#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QVariantMap>

#include <memory>

// The four channels on which the suite's programs tell each other of events.
namespace NotificationChannel {
extern const QString Daemon;
extern const QString Main;
extern const QString Browser;
extern const QString QuickLook;

bool isKnown(const QString &channel);
} // namespace NotificationChannel

// Fire-and-forget notifications between the programs: a channel name, an object (a short command
// string) and an optional user-info dictionary. Nothing is acknowledged. Observers hear every
// post on the channels they observe, on the thread the centre lives in (the main thread); a post
// without an object is never delivered.
class NotificationCenter : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The centre on the D-Bus session bus; when there is no bus it still works as an object
    // but isAvailable() says false and why().
    static std::unique_ptr<NotificationCenter> createSessionBusCenter(QObject *parent = nullptr);
    // A centre that delivers its own posts to its own observers, for tests and lone runs.
    static std::unique_ptr<NotificationCenter> createLocalCenter(QObject *parent = nullptr);

    virtual bool isAvailable() const = 0;
    virtual QString why() const { return {}; }

    // False when the notification could not be sent (unknown channel, no object, no bus).
    virtual bool post(const QString &channel, const QString &object,
                      const QVariantMap &userInfo = {}) = 0;
    virtual bool observe(const QString &channel) = 0;
    virtual void stopObserving(const QString &channel) = 0;
    void stopObservingAll();
    bool isObserving(const QString &channel) const { return mObserved.contains(channel); }

signals:
    void notificationReceived(const QString &channel, const QString &object,
                              const QVariantMap &userInfo);

protected:
    // Called by implementations for every incoming notification; drops the ones without object.
    void deliver(const QString &channel, const QString &object, const QVariantMap &userInfo);

    QSet<QString> mObserved;
};
