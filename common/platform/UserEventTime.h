#pragma once

#include <QtGlobal>

class QGuiApplication;

// The time of the user's last key press or click as the windowing system stamped it, which
// programs asked to act for the user hand on to the window manager so that the window they raise
// is not taken for one stealing the focus. On X11 it is the server's time of the event; elsewhere
// 0 ("now"): a Wayland event's time means nothing to another program.
namespace UserEventTime {

// From now on, the application's input events are noted (an event filter, which only reads).
void watch(QGuiApplication *application);
// The last noted time, or 0 when none was noted or the platform has no such time.
quint32 last();

} // namespace UserEventTime
