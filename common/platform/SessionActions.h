#pragma once

#include <QDBusConnection>
#include <QString>
#include <QStringList>

// The session's own services for locking, logging out, suspending and switching off:
// org.freedesktop.login1 on the system bus, the screen saver (org.freedesktop.ScreenSaver) and
// the desktop's session manager (GNOME's, KDE's) on the session bus. Tests hand stand-ins on a
// private bus instead of both buses.
class SessionActions
{
public:
    enum class Action { Lock, LogOut, Suspend, Hibernate, Restart, ShutDown };
    static constexpr Action AllActions[] = {Action::Lock,      Action::LogOut,  Action::Suspend,
                                            Action::Hibernate, Action::Restart, Action::ShutDown};

    explicit SessionActions(QDBusConnection system = QDBusConnection::systemBus(),
                            QDBusConnection session = QDBusConnection::sessionBus());

    // Whether the machine and the session can do it now: login1's Can… answers ("yes", or
    // "challenge" when the user will be asked to authorise), a screen saver or login1 for the
    // lock, a session manager or login1 for logging out. Blocks for the bus's answers (short
    // time limits); any thread.
    bool canDo(Action action) const;
    // Asks for it without waiting: the desktop may show its own authorisation dialog. False when
    // no service to ask is there.
    bool perform(Action action) const;

    // The programs that asked the desktop to hold a logout back, where it tells (GNOME's
    // inhibitors): "application: reason" each, for the confirmation. Blocks briefly; main
    // thread or any.
    QStringList programsHoldingLogout() const;

    // Those that end what the user has open: asked to confirm first.
    static bool needsConfirmation(Action action)
    {
        return action == Action::LogOut || action == Action::Restart || action == Action::ShutDown;
    }
    static QString idOf(Action action);
    static bool fromId(const QString &id, Action *action);

    static const QString Login1Service;
    static const QString ScreenSaverService;
    static const QString GnomeSessionService;
    static const QString KdeShutdownService;

private:
    bool hasService(const QDBusConnection &bus, const QString &service) const;
    QString login1Can(const QString &method) const;
    bool callLogin1(const QString &method, const QVariantList &arguments) const;
    static QString sessionId();

    QDBusConnection mSystem;
    QDBusConnection mSession;
};
