#pragma once

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QMimeData;
class WaylandConnection;
struct wl_proxy;

// The seat's clipboard through the compositor's data control (ext-data-control-v1 where offered,
// else zwlr_data_control_manager_v1), on the agent's own Wayland connection: read and set without
// a window and without the focus, which Qt's clipboard on XWayland cannot. Main thread only.
class WaylandDataControl : public QObject
{
    Q_OBJECT
public:
    ~WaylandDataControl() override;

    // Null when the compositor offers neither protocol, or no seat.
    static std::unique_ptr<WaylandDataControl> create(WaylandConnection &connection);
    // Whether a compositor offers either protocol, `offers` telling whether it offers a global
    // interface by name.
    static bool isOffered(const std::function<bool(const char *interfaceName)> &offers);

    // "ext-data-control-v1" or "wlr-data-control-unstable-v1".
    QString protocolName() const;

    // The MIME types of the clipboard as the compositor last said; empty when it is empty.
    QStringList formats() const { return mFormats; }
    // Asks the compositor for what changed since (a round trip), then formats().
    QStringList currentFormats();
    // The clipboard's data as `mimeType`, read from its owner; nothing when the type is not
    // offered, the owner does not answer within `timeoutMs`, or sends more than `limit` bytes.
    std::optional<QByteArray> read(const QString &mimeType, int timeoutMs = 2000,
                                   qint64 limit = qint64(256) << 20);
    // Puts `data` on the clipboard (taking it), served from this process until another program
    // takes the clipboard. False when the connection is gone.
    bool setSelection(QMimeData *data);
    // What this process set is still the clipboard.
    bool ownsSelection() const { return !mSources.empty(); }

    // The interfaces of one of the two protocols.
    struct Protocol;

signals:
    // Another selection: the compositor named a new offer, or none, or another program took
    // what this process had set.
    void selectionChanged();

private:
    WaylandDataControl(WaylandConnection &connection, const Protocol &protocol, wl_proxy *manager,
                       wl_proxy *seat);

    static void onDataOffer(void *data, wl_proxy *device, wl_proxy *offer);
    static void onSelection(void *data, wl_proxy *device, wl_proxy *offer);
    static void onFinished(void *data, wl_proxy *device);
    static void onPrimarySelection(void *data, wl_proxy *device, wl_proxy *offer);
    static void onOfferType(void *data, wl_proxy *offer, const char *mimeType);
    static void onSend(void *data, wl_proxy *source, const char *mimeType, int32_t fd);
    static void onCancelled(void *data, wl_proxy *source);

    void dropOffer(wl_proxy *offer);

    WaylandConnection &mConnection;
    const Protocol &mProtocol;
    wl_proxy *mManager = nullptr;
    wl_proxy *mSeat = nullptr;
    wl_proxy *mDevice = nullptr;
    // Offers announced and the types each listed so far; the selection is one of them.
    QMap<wl_proxy *, QStringList> mOffers;
    wl_proxy *mSelection = nullptr;
    QStringList mFormats;
    // The selections this process set, still served.
    std::map<wl_proxy *, std::unique_ptr<QMimeData>> mSources;
};
