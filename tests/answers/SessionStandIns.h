#pragma once

// Stand-ins for the session's services, written from their documented interfaces
// (org.freedesktop.login1.Manager, org.freedesktop.ScreenSaver, org.gnome.SessionManager):
// they answer and record, and nothing they are asked reaches the machine.
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QHash>
#include <QObject>
#include <QStringList>

#include <mutex>

class CallRecord
{
public:
    void add(const QString &call)
    {
        const std::lock_guard lock(mMutex);
        mCalls << call;
    }
    QStringList calls() const
    {
        const std::lock_guard lock(mMutex);
        return mCalls;
    }

private:
    mutable std::mutex mMutex;
    QStringList mCalls;
};

class Login1StandIn : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    Login1StandIn(CallRecord &record, QHash<QString, QString> can)
        : mRecord(record)
        , mCan(std::move(can))
    {
    }

public slots:
    QString CanSuspend() { return mCan.value("CanSuspend", "na"); }
    QString CanHibernate() { return mCan.value("CanHibernate", "na"); }
    QString CanReboot() { return mCan.value("CanReboot", "na"); }
    QString CanPowerOff() { return mCan.value("CanPowerOff", "na"); }
    void Suspend(bool interactive) { add("Suspend", interactive); }
    void Hibernate(bool interactive) { add("Hibernate", interactive); }
    void Reboot(bool interactive) { add("Reboot", interactive); }
    void PowerOff(bool interactive) { add("PowerOff", interactive); }
    void LockSession(const QString &id) { mRecord.add("login1 LockSession " + id); }
    void TerminateSession(const QString &id) { mRecord.add("login1 TerminateSession " + id); }

private:
    void add(const QString &method, bool interactive)
    {
        // Both the argument and the message's flag: polkit reads the flag.
        mRecord.add(QStringLiteral("login1 %1 %2%3")
                        .arg(method, interactive ? "true" : "false",
                             message().isInteractiveAuthorizationAllowed() ? " interactive" : ""));
    }
    CallRecord &mRecord;
    QHash<QString, QString> mCan;
};

class ScreenSaverStandIn : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    explicit ScreenSaverStandIn(CallRecord &record)
        : mRecord(record)
    {
    }
public slots:
    void Lock() { mRecord.add("ScreenSaver Lock"); }

private:
    CallRecord &mRecord;
};

// One program holding something back: GetFlags's 1 is the logout, 4 the suspend.
class GnomeInhibitorStandIn : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.SessionManager.Inhibitor")
public:
    GnomeInhibitorStandIn(QString application, QString reason, uint flags)
        : mApplication(std::move(application))
        , mReason(std::move(reason))
        , mFlags(flags)
    {
    }
public slots:
    QString GetAppId() { return mApplication; }
    QString GetReason() { return mReason; }
    uint GetFlags() { return mFlags; }

private:
    QString mApplication;
    QString mReason;
    uint mFlags;
};

class GnomeSessionStandIn : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.SessionManager")
public:
    explicit GnomeSessionStandIn(CallRecord &record)
        : mRecord(record)
    {
    }
public slots:
    void Logout(uint mode) { mRecord.add(QStringLiteral("GNOME Logout %1").arg(mode)); }
    QList<QDBusObjectPath> GetInhibitors()
    {
        return {QDBusObjectPath("/org/gnome/SessionManager/Inhibitor1"),
                QDBusObjectPath("/org/gnome/SessionManager/Inhibitor2")};
    }

private:
    CallRecord &mRecord;
};
