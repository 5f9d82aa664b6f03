#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

struct wl_display;
struct wl_interface;
struct wl_registry;

// A Wayland connection of the process's own, beside whatever Qt's window platform uses (the
// suite's windows are on XWayland, docs/platform.md): for the protocols a background program
// speaks to the compositor directly. Main thread only. Its events are read in the Qt event loop;
// a connection the compositor ends stays ended (isBroken()), and each user falls back then.
class WaylandConnection : public QObject
{
    Q_OBJECT
public:
    ~WaylandConnection() override;

    // The session's connection, opened at the first call; null outside a Wayland session
    // (no WAYLAND_DISPLAY) or when the compositor does not answer.
    static WaylandConnection *session();
    // A connection to the display named (a socket name or path), for tests; null on failure.
    static std::unique_ptr<WaylandConnection> open(const QByteArray &displayName);

    wl_display *display() const { return mDisplay; }
    bool isBroken() const;

    // The version the compositor offers of a global interface, 0 when it offers none.
    uint32_t offeredVersion(const char *interfaceName) const;
    // Binds the first global of the interface at min(offered, maxVersion); null when absent.
    void *bind(const wl_interface *interface, uint32_t maxVersion) const;

    // Sends what is queued, then reads and dispatches events until done() or the time is up.
    // False when the time ran out or the connection broke.
    bool dispatchUntil(const std::function<bool()> &done, int timeoutMs);
    // Every request sent so far has been seen by the compositor (wl_display.sync).
    bool roundtrip(int timeoutMs);
    // Sends what is queued without waiting.
    void flush();
    // Reads and dispatches the events that have come, without waiting.
    void dispatchAvailable();

signals:
    // The compositor ended the connection, or it failed.
    void broken();

private:
    struct Global {
        uint32_t name;
        QByteArray interface;
        uint32_t version;
    };

    explicit WaylandConnection(wl_display *display);
    void noteBroken();

    static void onGlobal(void *data, wl_registry *registry, uint32_t name, const char *interface,
                         uint32_t version);
    static void onGlobalRemove(void *data, wl_registry *registry, uint32_t name);

    wl_display *mDisplay = nullptr;
    wl_registry *mRegistry = nullptr;
    QList<Global> mGlobals;
    bool mBrokenSaid = false;
};
