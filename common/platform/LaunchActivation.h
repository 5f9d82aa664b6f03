#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// The leave a program the agent launches gets to take the focus, and the environment it starts
// in. On X11 a startup identifier stamped with the X server's time (DESKTOP_STARTUP_ID); in a
// Wayland session a token of the compositor (XDG_ACTIVATION_TOKEN, xdg-activation-v1 through the
// agent's own Wayland connection), given as both variables since an XWayland program reports it
// as its startup identifier. Without either, the program starts as before: the desktop decides.
// A launched program never inherits the agent's own variables (those of its tests included) nor
// a token the agent itself was started with.
class LaunchActivation
{
public:
    // `what`: a word naming the gesture in the X11 identifier ("launch", "open");
    // `applicationId`: the launched desktop entry's id without ".desktop", empty when unknown.
    static LaunchActivation forLaunch(const char *what, const QString &applicationId = {});

    QByteArray startupId() const { return mStartupId; }
    QByteArray activationToken() const { return mActivationToken; }

    // The agent's own variables in `environment`, which no launched program gets.
    static QStringList agentVariables(const QProcessEnvironment &environment);
    // What a launched program starts with: `agent` without the agent's own variables, with the
    // leave to take the focus.
    QProcessEnvironment
    environment(const QProcessEnvironment &agent = QProcessEnvironment::systemEnvironment()) const;

private:
    QByteArray mStartupId;
    QByteArray mActivationToken;
};
