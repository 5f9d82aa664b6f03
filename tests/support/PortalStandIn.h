#pragma once

// A stand-in for the desktop portal's global shortcuts on the test's session bus, written from
// the portal's documentation (org.freedesktop.portal.GlobalShortcuts, Request, Session): it owns
// org.freedesktop.portal.Desktop on a connection of its own, answers CreateSession,
// BindShortcuts and ListShortcuts with a Response on the Request object named after the caller,
// and refuses any call whose signature or arguments differ from the documented ones.
// As recent portals do, it has the host registry (org.freedesktop.host.portal.Registry): a
// caller registers its application id once, before any other portal call of its connection, and
// a caller it cannot tell is refused a session (org.freedesktop.portal.Error.NotAllowed).
#include <QDBusConnection>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>

class PortalStandIn
{
public:
    struct Shortcut {
        QString id;
        QVariantMap properties;
    };
    struct Binding {
        QString session;
        QList<Shortcut> shortcuts;
        QString preferredTrigger(const QString &id) const;
        QString description(const QString &id) const;
        bool has(const QString &id) const;
    };

    enum class Registry {
        Required, // a recent portal
        Absent, // a portal older than the registry: it tells callers by other means
    };

    explicit PortalStandIn(uint version = 1, Registry registry = Registry::Required);
    ~PortalStandIn();

    // False when the name cannot be taken (a real portal on the bus).
    bool start();
    // The portal leaves the bus; a start() after it is a new portal process that has forgotten
    // its callers, their registrations and sessions.
    void stop();

    // The application ids registered, in order, one per registration accepted.
    QStringList registrations() const;

    // Every accepted BindShortcuts, oldest first.
    QList<Binding> bindings() const;
    QStringList openSessions() const;
    // Calls refused for their signature, their arguments or the portal's rules.
    QStringList errors() const;
    int listCalls() const;

    // The desktop assigns `trigger` (its own words) to the shortcut, in every open session,
    // and says so with ShortcutsChanged.
    void assignTrigger(const QString &id, const QString &trigger);
    // Activated, then Deactivated, for the shortcut in the newest open session; the desktop's
    // activation token rides in Activated's options when given.
    void press(const QString &id, const QString &activationToken = {});
    // The desktop ends the newest session (Session::Closed).
    void closeNewestSession();
    // Activated for a session that is not the caller's.
    void pressInSession(const QString &session, const QString &id,
                        const QString &activationToken = {});

private:
    class Object;
    std::unique_ptr<Object> mObject;
    QDBusConnection mConnection;
};
