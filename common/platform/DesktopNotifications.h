#pragma once

#include <QString>

// A notification in the desktop's own style (org.freedesktop.Notifications on the session bus),
// for what the agent must tell the user while none of its windows is up.
namespace DesktopNotifications {

// Sent without waiting for an answer; false when the session bus cannot be reached.
bool notify(const QString &summary, const QString &body,
            const QString &iconName = QStringLiteral("dialog-warning"));

} // namespace DesktopNotifications
