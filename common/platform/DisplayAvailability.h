#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// Whether a program with windows can start here, asked before Qt's platform plugin aborts the
// process with a message a user cannot act on.
namespace DisplayAvailability {

// Why no window can be shown (no X display named, or it does not answer), or nothing when one
// can; the offscreen and minimal platforms always can.
std::optional<QString> problem();

// A Wayland session, where no program may watch the whole keyboard or the pointer (Xwayland
// passes on only what its own windows receive).
bool isWaylandSession();

// The program's arguments for the application object, with "-platform xcb" added in a Wayland
// session with XWayland unless the user chose a platform (QT_QPA_PLATFORM): a Wayland client may
// not place its windows, and the access window with the windows hung beside it must be placed.
// An argument rather than the variable, which every program the agent launches would inherit.
// It must outlive the application object, which keeps the count and the list.
class QtArguments
{
public:
    QtArguments(int argc, char **argv);
    int &argc() { return mArgc; }
    char **argv() { return mArgv.data(); }
    bool xwaylandChosen() const { return mXWayland; }
    // The activation token the desktop launched the program with (XDG_ACTIVATION_TOKEN), taken
    // out of the environment, as the protocol asks, so that what the program launches does not
    // pass it on; empty where the program was launched without one or Qt uses the startup
    // identifier of X11 (DESKTOP_STARTUP_ID) itself.
    QByteArray launchToken() const { return mLaunchToken; }

private:
    std::vector<char *> mArgv;
    int mArgc = 0;
    bool mXWayland = false;
    QByteArray mLaunchToken;
};

} // namespace DisplayAvailability
