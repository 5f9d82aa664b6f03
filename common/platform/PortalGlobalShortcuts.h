#pragma once

#include "GlobalShortcuts.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QVariantMap>

#include <functional>

class QDBusMessage;

// GlobalShortcuts through the XDG desktop portal (org.freedesktop.portal.GlobalShortcuts on
// org.freedesktop.portal.Desktop): one session, its shortcuts bound once. The portal lets a
// session bind only once, so a changed list closes the session and binds in a new one.
// A program outside a sandbox first tells the portal which application it is (the host
// registry, before any other call of the connection); recent portals refuse a session to a
// program they cannot tell. A portal without the registry is asked as before.
class PortalGlobalShortcuts final : public GlobalShortcuts
{
    Q_OBJECT
public:
    static const QString Service;
    static const QString DesktopPath;
    static const QString Interface;
    static const QString RegistryInterface;

    // `applicationId`: the desktop entry's name without ".desktop"; empty: no registration.
    PortalGlobalShortcuts(QDBusConnection bus, const QString &applicationId,
                          QObject *parent = nullptr);
    ~PortalGlobalShortcuts() override;

    void bindShortcuts(const QList<Shortcut> &shortcuts) override;
    Status status() const override { return mStatus; }
    QString reason() const override { return mReason; }
    Refusal refusal() const override { return mRefusal; }
    QList<Trigger> triggers() const override { return mTriggers; }
    QString sessionHandle() const { return mSession.path(); }

    // The Request object a call with this token answers on: the portal names it after the
    // caller's unique name (":1.42" -> "1_42").
    static QString requestPath(const QString &uniqueName, const QString &token);

private slots:
    void onActivated(const QDBusMessage &message);
    void onDeactivated(const QDBusMessage &message);
    void onShortcutsChanged(const QDBusMessage &message);
    void onSessionClosed(const QDBusMessage &message);

private:
    using ResponseHandler = std::function<void(uint code, const QVariantMap &results)>;

    // Registers, then probes: on start and whenever the portal comes back on the bus.
    void registerThenProbe();
    void probe();
    void startBinding();
    void createSession();
    void bindInSession();
    void listShortcuts();
    void startBindingIfChanged();
    void closeSession();
    // Calls `method` with a fresh handle_token added to the options at `optionsIndex` and hands
    // the Request's Response to `handler`.
    void request(const QString &method, QList<QVariant> arguments, int optionsIndex,
                 ResponseHandler handler);
    QString newToken();
    void setStatus(Status status, const QString &reason = {});
    void refuse(Refusal refusal, const QString &reason);
    void takeTriggers(const QVariant &shortcuts);

    QDBusConnection mBus;
    QString mApplicationId;
    // What the registry answered this portal: empty once registered (or without a registry).
    QString mRegistrationError;
    Status mStatus = Status::Probing;
    QString mReason;
    Refusal mRefusal = Refusal::None;
    QList<Shortcut> mWanted;
    QList<Shortcut> mBound;
    bool mBindWanted = false;
    QDBusObjectPath mSession;
    // Counts the sessions asked for, so that an answer about an older one is ignored.
    quint64 mGeneration = 0;
    bool mBusy = false;
    QList<Trigger> mTriggers;
};
