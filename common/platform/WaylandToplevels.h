#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <map>

class WaylandConnection;
struct zwlr_foreign_toplevel_handle_v1;
struct zwlr_foreign_toplevel_manager_v1;
struct wl_seat;

// The windows of the session's native Wayland programs as a task bar sees them
// (zwlr_foreign_toplevel_management_v1: wlroots desktops, Hyprland), on the agent's own Wayland
// connection; XWayland's windows are the X display's (X11Windows). The list follows the
// compositor's events in the main thread's event loop; any thread may read it.
class WaylandToplevels : public QObject
{
    Q_OBJECT
public:
    struct Toplevel {
        quint32 id = 0; // this process's number for the window, never reused
        QString title;
        QString applicationId;
        bool minimized = false;
        bool active = false;
    };

    ~WaylandToplevels() override;

    // Main thread: the session's, started at the first call; null outside a Wayland session or
    // where the compositor does not offer the protocol.
    static WaylandToplevels *session();
    // Any thread: the windows the session's list knows, empty before session() started it.
    static QList<Toplevel> sessionList();

    QList<Toplevel> toplevels() const;
    // Asks the compositor to bring the window to the front; false when it is gone. Main thread.
    bool activate(quint32 id);

signals:
    void changed();

private:
    struct Handle {
        quint32 id = 0;
        Toplevel pending;
        bool announced = false;
    };

    WaylandToplevels(WaylandConnection &connection, zwlr_foreign_toplevel_manager_v1 *manager,
                     wl_seat *seat);
    void publish();

    static void onToplevel(void *data, zwlr_foreign_toplevel_manager_v1 *,
                           zwlr_foreign_toplevel_handle_v1 *handle);
    static void onFinished(void *data, zwlr_foreign_toplevel_manager_v1 *);

    WaylandConnection &mConnection;
    zwlr_foreign_toplevel_manager_v1 *mManager;
    wl_seat *mSeat;
    std::map<zwlr_foreign_toplevel_handle_v1 *, Handle> mHandles;
    quint32 mNextId = 1;
};
