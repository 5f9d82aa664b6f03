#pragma once

#include <QObject>
#include <QVariantMap>

class PortalShortcutActivation;

// The shortcuts the desktop watches for the agent, on the session bus, for the manager's shortcut
// section: only the agent's own session may list them at the portal. Triggers() answers
//   {"status": "probing" | "unavailable" | "binding" | "bound" | "refused", "reason": text,
//    "refusal": "" | "unknown-application" | "declined" | "session-closed" | "other",
//    "shortcuts": [{"id", "description", "preferredTrigger", "trigger"}, ...]}
// and Changed() is sent whenever that answer changes.
class GlobalShortcutsBus : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.korvale.GlobalShortcuts")
public:
    static const QString ObjectPath;
    static const QString Interface;

    explicit GlobalShortcutsBus(PortalShortcutActivation &activation, QObject *parent = nullptr);
    ~GlobalShortcutsBus() override;

    bool publish();
    QVariantMap triggers() const;

public slots:
    Q_SCRIPTABLE QVariantMap Triggers() const;

signals:
    Q_SCRIPTABLE void Changed();

private:
    PortalShortcutActivation &mActivation;
    bool mPublished = false;
};
