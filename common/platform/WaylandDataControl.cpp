#include "WaylandDataControl.h"

// Before the protocols' headers: their calls go through the loaded library.
#include "WaylandClientLibrary.h"

#include "KorvaleLog.h"
#include "WaylandConnection.h"

#include <QDeadlineTimer>
#include <QMimeData>

#include <ext-data-control-v1-client-protocol.h>
#include <wlr-data-control-unstable-v1-client-protocol.h>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

// The two protocols have the same messages in the same order, under other names: one code speaks
// both through libwayland's generic calls, each with its interfaces.
struct WaylandDataControl::Protocol {
    const char *name;
    const wl_interface *manager;
    const wl_interface *device;
    const wl_interface *source;
    const wl_interface *offer;
};

namespace {

// Requests, by their order in both descriptions.
enum : uint32_t {
    ManagerCreateDataSource = 0,
    ManagerGetDataDevice = 1,
    ManagerDestroy = 2,
    DeviceSetSelection = 0,
    DeviceDestroy = 1,
    SourceOffer = 0,
    SourceDestroy = 1,
    OfferReceive = 0,
    OfferDestroy = 1,
};

void destroyProxy(wl_proxy *proxy, uint32_t opcode)
{
    wl_proxy_marshal_flags(proxy, opcode, nullptr, wl_proxy_get_version(proxy),
                           WL_MARSHAL_FLAG_DESTROY);
}

// The listeners' layouts of both protocols' generated headers, with untyped objects.
struct DeviceListener {
    void (*dataOffer)(void *, wl_proxy *, wl_proxy *);
    void (*selection)(void *, wl_proxy *, wl_proxy *);
    void (*finished)(void *, wl_proxy *);
    void (*primarySelection)(void *, wl_proxy *, wl_proxy *);
};
struct SourceListener {
    void (*send)(void *, wl_proxy *, const char *, int32_t);
    void (*cancelled)(void *, wl_proxy *);
};
struct OfferListener {
    void (*offer)(void *, wl_proxy *, const char *);
};

} // namespace

namespace {

const WaylandDataControl::Protocol ExtProtocol = {
    "ext-data-control-v1", &ext_data_control_manager_v1_interface,
    &ext_data_control_device_v1_interface, &ext_data_control_source_v1_interface,
    &ext_data_control_offer_v1_interface};
const WaylandDataControl::Protocol WlrProtocol = {
    "wlr-data-control-unstable-v1", &zwlr_data_control_manager_v1_interface,
    &zwlr_data_control_device_v1_interface, &zwlr_data_control_source_v1_interface,
    &zwlr_data_control_offer_v1_interface};

} // namespace

bool WaylandDataControl::isOffered(const std::function<bool(const char *interfaceName)> &offers)
{
    return offers(ExtProtocol.manager->name) || offers(WlrProtocol.manager->name);
}

std::unique_ptr<WaylandDataControl> WaylandDataControl::create(WaylandConnection &connection)
{
    // The standard one first; the older one is what wlroots desktops, KDE Plasma and Hyprland
    // have offered for years.
    for (const Protocol *protocol : {&ExtProtocol, &WlrProtocol}) {
        if (connection.offeredVersion(protocol->manager->name) == 0)
            continue;
        auto *seat = static_cast<wl_proxy *>(connection.bind(&wl_seat_interface, 1));
        if (!seat)
            return nullptr;
        // Version 1 of either: the clipboard alone, not the primary selection.
        auto *manager = static_cast<wl_proxy *>(connection.bind(protocol->manager, 1));
        if (!manager) {
            wl_proxy_destroy(seat);
            return nullptr;
        }
        std::unique_ptr<WaylandDataControl> control(
            new WaylandDataControl(connection, *protocol, manager, seat));
        // The current selection is announced at once.
        connection.roundtrip(1000);
        return control;
    }
    return nullptr;
}

WaylandDataControl::WaylandDataControl(WaylandConnection &connection, const Protocol &protocol,
                                       wl_proxy *manager, wl_proxy *seat)
    : mConnection(connection)
    , mProtocol(protocol)
    , mManager(manager)
    , mSeat(seat)
{
    static const DeviceListener listener = {
        &WaylandDataControl::onDataOffer, &WaylandDataControl::onSelection,
        &WaylandDataControl::onFinished, &WaylandDataControl::onPrimarySelection};
    mDevice = wl_proxy_marshal_flags(mManager, ManagerGetDataDevice, mProtocol.device,
                                     wl_proxy_get_version(mManager), 0, nullptr, mSeat);
    wl_proxy_add_listener(
        mDevice, reinterpret_cast<void (**)(void)>(const_cast<DeviceListener *>(&listener)), this);
    mConnection.flush();
}

WaylandDataControl::~WaylandDataControl()
{
    for (auto it = mOffers.cbegin(); it != mOffers.cend(); ++it)
        destroyProxy(it.key(), OfferDestroy);
    for (const auto &[source, data] : mSources)
        destroyProxy(source, SourceDestroy);
    if (mDevice)
        destroyProxy(mDevice, DeviceDestroy);
    destroyProxy(mManager, ManagerDestroy);
    wl_proxy_destroy(mSeat);
    mConnection.flush();
}

QString WaylandDataControl::protocolName() const
{
    return QString::fromLatin1(mProtocol.name);
}

void WaylandDataControl::onDataOffer(void *data, wl_proxy *, wl_proxy *offer)
{
    static const OfferListener listener = {&WaylandDataControl::onOfferType};
    auto *self = static_cast<WaylandDataControl *>(data);
    self->mOffers.insert(offer, {});
    wl_proxy_add_listener(
        offer, reinterpret_cast<void (**)(void)>(const_cast<OfferListener *>(&listener)), self);
}

void WaylandDataControl::onOfferType(void *data, wl_proxy *offer, const char *mimeType)
{
    auto *self = static_cast<WaylandDataControl *>(data);
    const auto it = self->mOffers.find(offer);
    // A type named twice is one type; a list beyond any real program's is cut.
    if (it != self->mOffers.end() && it->size() < 1000) {
        const QString type = QString::fromUtf8(mimeType);
        if (!it->contains(type))
            it->append(type);
    }
}

void WaylandDataControl::onSelection(void *data, wl_proxy *, wl_proxy *offer)
{
    auto *self = static_cast<WaylandDataControl *>(data);
    if (self->mSelection && self->mSelection != offer)
        self->dropOffer(self->mSelection);
    self->mSelection = offer;
    self->mFormats = offer ? self->mOffers.value(offer) : QStringList();
    emit self->selectionChanged();
}

void WaylandDataControl::onPrimarySelection(void *data, wl_proxy *, wl_proxy *offer)
{
    // Not asked for at version 1, but a compositor may still name one: it is never read.
    auto *self = static_cast<WaylandDataControl *>(data);
    if (offer && offer != self->mSelection)
        self->dropOffer(offer);
}

void WaylandDataControl::onFinished(void *data, wl_proxy *)
{
    auto *self = static_cast<WaylandDataControl *>(data);
    KorvaleLog::line(QStringLiteral("The compositor ended the clipboard's data control"));
    destroyProxy(self->mDevice, DeviceDestroy);
    self->mDevice = nullptr;
    if (self->mSelection)
        self->dropOffer(self->mSelection);
    self->mSelection = nullptr;
    self->mFormats.clear();
    emit self->selectionChanged();
}

void WaylandDataControl::dropOffer(wl_proxy *offer)
{
    if (mOffers.remove(offer) > 0)
        destroyProxy(offer, OfferDestroy);
}

QStringList WaylandDataControl::currentFormats()
{
    mConnection.roundtrip(1000);
    return mFormats;
}

std::optional<QByteArray> WaylandDataControl::read(const QString &mimeType, int timeoutMs,
                                                   qint64 limit)
{
    if (!mSelection || !mFormats.contains(mimeType) || mConnection.isBroken())
        return std::nullopt;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return std::nullopt;
    wl_proxy_marshal_flags(mSelection, OfferReceive, nullptr, wl_proxy_get_version(mSelection), 0,
                           mimeType.toUtf8().constData(), fds[1]);
    mConnection.flush();
    close(fds[1]);

    // The owner writes while this waits; when the owner is this process, its answer comes
    // through the Wayland connection, which is served meanwhile.
    QByteArray bytes;
    const QDeadlineTimer deadline(timeoutMs);
    bool ended = false;
    while (!ended && !deadline.hasExpired()) {
        pollfd ready[2] = {{fds[0], POLLIN, 0},
                           {wl_display_get_fd(mConnection.display()), POLLIN, 0}};
        if (poll(ready, 2, int(deadline.remainingTime())) < 0 && errno != EINTR)
            break;
        if (ready[1].revents & POLLIN)
            mConnection.dispatchAvailable();
        if (!(ready[0].revents & (POLLIN | POLLHUP)))
            continue;
        char buffer[65536];
        const ssize_t got = ::read(fds[0], buffer, sizeof buffer);
        if (got > 0) {
            if (bytes.size() + got > limit) {
                KorvaleLog::line(QStringLiteral("The clipboard's %1 is larger than %2 bytes: "
                                                "left out")
                                     .arg(mimeType)
                                     .arg(limit));
                close(fds[0]);
                return std::nullopt;
            }
            bytes.append(buffer, got);
        } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
            ended = true;
        }
    }
    close(fds[0]);
    if (!ended) {
        KorvaleLog::line(
            QStringLiteral("The clipboard's owner did not send its %1 in time").arg(mimeType));
        return std::nullopt;
    }
    return bytes;
}

bool WaylandDataControl::setSelection(QMimeData *data)
{
    std::unique_ptr<QMimeData> owned(data);
    if (!mDevice || mConnection.isBroken())
        return false;
    static const SourceListener listener = {&WaylandDataControl::onSend,
                                            &WaylandDataControl::onCancelled};
    wl_proxy *source = wl_proxy_marshal_flags(mManager, ManagerCreateDataSource, mProtocol.source,
                                              wl_proxy_get_version(mManager), 0, nullptr);
    wl_proxy_add_listener(
        source, reinterpret_cast<void (**)(void)>(const_cast<SourceListener *>(&listener)), this);
    for (const QString &type : owned->formats())
        wl_proxy_marshal_flags(source, SourceOffer, nullptr, wl_proxy_get_version(source), 0,
                               type.toUtf8().constData());
    // Plain text is also asked for under the X11 names by older programs.
    if (owned->hasFormat(QStringLiteral("text/plain"))
        || owned->hasFormat(QStringLiteral("text/plain;charset=utf-8"))) {
        for (const char *type : {"UTF8_STRING", "STRING", "TEXT"})
            wl_proxy_marshal_flags(source, SourceOffer, nullptr, wl_proxy_get_version(source), 0,
                                   type);
    }
    wl_proxy_marshal_flags(mDevice, DeviceSetSelection, nullptr, wl_proxy_get_version(mDevice), 0,
                           source);
    mSources.emplace(source, std::move(owned));
    // Set once the compositor has seen it: a program that says so next is not ahead of it.
    return mConnection.roundtrip(1000);
}

void WaylandDataControl::onSend(void *data, wl_proxy *source, const char *mimeType, int32_t fd)
{
    auto *self = static_cast<WaylandDataControl *>(data);
    const auto it = self->mSources.find(source);
    QByteArray bytes;
    if (it != self->mSources.end()) {
        QString type = QString::fromUtf8(mimeType);
        if (type == QLatin1String("UTF8_STRING") || type == QLatin1String("STRING")
            || type == QLatin1String("TEXT"))
            bytes = it->second->text().toUtf8();
        else
            bytes = it->second->data(type);
    }
    // The reader may be slow or another process that never reads: the writing waits elsewhere.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::thread([fd, bytes] {
        // A reader that goes away must not end the process: the write fails instead.
        sigset_t pipeSignal;
        sigemptyset(&pipeSignal);
        sigaddset(&pipeSignal, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
        qsizetype written = 0;
        while (written < bytes.size()) {
            const ssize_t done = ::write(fd, bytes.constData() + written, bytes.size() - written);
            if (done < 0 && errno == EINTR)
                continue;
            if (done <= 0)
                break;
            written += done;
        }
        close(fd);
        // A pipe signal held for this thread goes with it.
        const timespec now{0, 0};
        while (sigtimedwait(&pipeSignal, nullptr, &now) > 0) { }
    }).detach();
}

void WaylandDataControl::onCancelled(void *data, wl_proxy *source)
{
    // Another program took the clipboard.
    auto *self = static_cast<WaylandDataControl *>(data);
    self->mSources.erase(source);
    destroyProxy(source, SourceDestroy);
    emit self->selectionChanged();
}
