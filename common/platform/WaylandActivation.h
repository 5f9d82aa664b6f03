#pragma once

#include <QByteArray>
#include <QString>

class WaylandConnection;

// Activation tokens of the compositor (xdg-activation-v1), asked for on the agent's own Wayland
// connection: a program started with one may take the focus. Main thread only.
class WaylandActivation
{
public:
    // A new token for the application (its desktop entry's id, may be empty), or an empty one
    // when the compositor offers no xdg-activation or does not answer within `timeoutMs`.
    static QByteArray requestToken(WaylandConnection &connection, const QString &applicationId,
                                   int timeoutMs = 500);
};
