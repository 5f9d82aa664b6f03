#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

// Key combinations the desktop itself watches for the agent, where no program may watch the
// keyboard (Wayland sessions). The desktop decides the keys in the end (it may ask the user), so
// what it answers is kept apart from what was asked.
class GlobalShortcuts : public QObject
{
    Q_OBJECT
public:
    struct Shortcut {
        QString id;
        QString description;
        // In the XDG triggers' format ("CTRL+ALT+k"); empty: the desktop or the user chooses.
        QString preferredTrigger;
        friend bool operator==(const Shortcut &, const Shortcut &) = default;
    };
    // What the desktop reports for one bound shortcut.
    struct Trigger {
        QString id;
        QString description;
        // The desktop's own words for the keys ("Ctrl+Alt+K"); empty while none is assigned.
        QString triggerDescription;
        friend bool operator==(const Trigger &, const Trigger &) = default;
    };

    enum class Status {
        Probing, // asking whether the desktop offers global shortcuts
        Unavailable, // it does not: reason() says why
        Binding, // the desktop is binding (it may be asking the user)
        Bound,
        Refused, // the desktop or the user refused the shortcuts: reason() says why
    };
    Q_ENUM(Status)

    // Why the desktop refused, as far as the agent can tell.
    enum class Refusal {
        None,
        UnknownApplication, // the portal could not tell which application asked
        Declined, // the user or the desktop declined the shortcuts
        SessionClosed, // the desktop ended the shortcuts' session
        Other, // reason() has the desktop's words
    };
    Q_ENUM(Refusal)

    using QObject::QObject;

    // Replaces the shortcuts bound; the same list again changes nothing.
    virtual void bindShortcuts(const QList<Shortcut> &shortcuts) = 0;
    virtual Status status() const = 0;
    virtual QString reason() const = 0;
    // None unless status() is Refused.
    virtual Refusal refusal() const = 0;
    virtual QList<Trigger> triggers() const = 0;

    static QString statusName(Status status);
    static QString refusalName(Refusal refusal);

    // The desktop portal's, on a session-bus connection of its own, telling the portal it is the
    // application of the desktop entry `applicationId` (its file name without ".desktop").
    static std::unique_ptr<GlobalShortcuts> createPortal(const QString &applicationId,
                                                         QObject *parent = nullptr);

signals:
    // `activationToken`: the desktop's leave to take the focus for this press, empty when none.
    void activated(const QString &id, const QByteArray &activationToken);
    void deactivated(const QString &id);
    // status(), reason() or triggers() changed.
    void changed();
};
