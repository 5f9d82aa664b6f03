#pragma once

#include <QByteArray>

#include <functional>

class QWidget;

// Brings a window to the front with the keyboard, wherever the programs run. On X11 the window
// manager does it when asked; in a Wayland session the programs run on XWayland (so that the
// access window and the windows hung beside it can be placed), and there the window takes the
// X input focus itself once it is mapped, since the compositor's window manager may not hand it
// out (weston's ignores activation requests).
namespace WindowFocus {

// Raises `window` and gives it the keyboard. A window not shown yet takes it once shown.
void bringToFront(QWidget *window);
// Gives it the keyboard without changing the stacking (a window beside another one of ours).
void activate(QWidget *window);

// An activation token the desktop handed over with a request to show a window (the portal's
// "activation_token"): the next `bringToFront` passes it on, so that a compositor that prevents
// focus stealing lets that window have the focus.
void setActivationToken(const QByteArray &token);
// The token the next `bringToFront` will pass on, empty for none.
QByteArray pendingActivationToken();

// Called before a window of this program takes the keyboard through a grab (see above): whoever
// of this program holds it meanwhile lets it go first (the agent's grab that keeps the keys typed
// before the access window appears). Empty for none.
void setKeyboardHandOver(std::function<void()> handOver);

// Whether this program's windows are X11 windows of an XWayland server in a Wayland session.
bool onXWayland();

} // namespace WindowFocus
