#pragma once

#include "ActivationSettings.h"
#include "ItemShortcuts.h"
#include "platform/GlobalShortcuts.h"

#include <QObject>
#include <QVariantMap>

#include <functional>

// The gestures as shortcuts the desktop watches (GlobalShortcuts), for sessions where the agent
// cannot watch the keyboard: the toggle of the access window, the menu-bar menu, and one shortcut
// per key combination in use (the personal combination, the item shortcuts), preferring that
// combination as its trigger. A press of one does what the same keys do where the agent watches
// them itself: the requests below are the activation monitor's.
class PortalShortcutActivation : public QObject
{
    Q_OBJECT
public:
    static const QString ToggleId;
    static const QString MenuId;

    struct Sources {
        std::function<ActivationSettings()> settings;
        const ItemShortcuts *items = nullptr;
        std::function<bool()> accessWindowVisible;
    };

    PortalShortcutActivation(GlobalShortcuts &shortcuts, Sources sources,
                             QObject *parent = nullptr);

    // The shortcuts the settings and the items call for now.
    QList<GlobalShortcuts::Shortcut> wantedShortcuts() const;
    // "keys-" and the stored map in hexadecimal: the id changes only with the combination.
    static QString combinationId(const KeyMap &map);

    GlobalShortcuts &shortcuts() { return mShortcuts; }

public slots:
    // Binds again when the personal combination or the item shortcuts changed.
    void refresh();

signals:
    void openAccessWindowRequested();
    void closeAccessWindowRequested();
    void menuBarMenuRequested();
    void itemShortcutTriggered(const QVariantMap &record);

private:
    void activate(const QString &id, const QByteArray &activationToken);
    // The personal combination while it is the way in, and counts.
    std::optional<KeyMap> personalCombination() const;

    GlobalShortcuts &mShortcuts;
    Sources mSources;
};
