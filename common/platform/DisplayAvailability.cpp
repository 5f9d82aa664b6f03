#include "DisplayAvailability.h"

#include <QtGlobal>

#include <X11/Xlib.h>

std::optional<QString> DisplayAvailability::problem()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.startsWith("offscreen") || platform.startsWith("minimal"))
        return std::nullopt;
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty()) {
        // A Wayland session without Xwayland: Qt's own plugin may still serve the windows.
        if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            return std::nullopt;
        return QStringLiteral(
            "no X display: DISPLAY is not set (start it inside your desktop session)");
    }
    Display *connection = XOpenDisplay(display.constData());
    if (!connection)
        return QStringLiteral("the X display %1 does not answer")
            .arg(QString::fromLocal8Bit(display));
    XCloseDisplay(connection);
    return std::nullopt;
}

bool DisplayAvailability::isWaylandSession()
{
    return qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

DisplayAvailability::QtArguments::QtArguments(int argc, char **argv)
    : mArgv(argv, argv + argc)
{
    mXWayland = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && !qEnvironmentVariableIsEmpty("DISPLAY") && isWaylandSession();
    if (mXWayland) {
        static char platform[] = "-platform";
        static char xcb[] = "xcb";
        mArgv.push_back(platform);
        mArgv.push_back(xcb);
    }
    mArgc = int(mArgv.size());
    mArgv.push_back(nullptr);
    if (qEnvironmentVariableIsEmpty("DESKTOP_STARTUP_ID"))
        mLaunchToken = qgetenv("XDG_ACTIVATION_TOKEN");
    qunsetenv("XDG_ACTIVATION_TOKEN");
}
