#include "WaylandToplevels.h"

// Before the protocols' headers: their calls go through the loaded library.
#include "WaylandClientLibrary.h"

#include "DisplayAvailability.h"
#include "KorvaleLog.h"
#include "WaylandConnection.h"

#include <QMutex>

#include <wlr-foreign-toplevel-management-unstable-v1-client-protocol.h>

namespace {

// The session's list for readers of other threads.
QMutex listLock;
QList<WaylandToplevels::Toplevel> sharedList;

// Titles of other programs are shown in a row: a longer one is cut.
constexpr qsizetype TitleLimit = 4096;

QString bounded(const char *text)
{
    return QString::fromUtf8(text).left(TitleLimit);
}

} // namespace

WaylandToplevels *WaylandToplevels::session()
{
    static WaylandToplevels *toplevels = []() -> WaylandToplevels * {
        if (!DisplayAvailability::isWaylandSession())
            return nullptr;
        WaylandConnection *connection = WaylandConnection::session();
        if (!connection)
            return nullptr;
        auto *manager = static_cast<zwlr_foreign_toplevel_manager_v1 *>(
            connection->bind(&zwlr_foreign_toplevel_manager_v1_interface, 1));
        if (!manager) {
            KorvaleLog::line(QStringLiteral("The compositor lists no native windows to "
                                            "programs: only XWayland's windows are found"));
            return nullptr;
        }
        auto *seat = static_cast<wl_seat *>(connection->bind(&wl_seat_interface, 1));
        // Never destroyed, like the connection's other users: it lives as long as the agent.
        auto *created = new WaylandToplevels(*connection, manager, seat);
        connection->roundtrip(1000);
        return created;
    }();
    return toplevels;
}

QList<WaylandToplevels::Toplevel> WaylandToplevels::sessionList()
{
    QMutexLocker locker(&listLock);
    return sharedList;
}

WaylandToplevels::WaylandToplevels(WaylandConnection &connection,
                                   zwlr_foreign_toplevel_manager_v1 *manager, wl_seat *seat)
    : mConnection(connection)
    , mManager(manager)
    , mSeat(seat)
{
    static const zwlr_foreign_toplevel_manager_v1_listener listener = {
        &WaylandToplevels::onToplevel, &WaylandToplevels::onFinished};
    zwlr_foreign_toplevel_manager_v1_add_listener(mManager, &listener, this);
    mConnection.flush();
}

WaylandToplevels::~WaylandToplevels()
{
    for (const auto &[handle, state] : mHandles)
        zwlr_foreign_toplevel_handle_v1_destroy(handle);
    if (mManager)
        zwlr_foreign_toplevel_manager_v1_stop(mManager);
    if (mSeat)
        wl_seat_destroy(mSeat);
    mConnection.flush();
}

void WaylandToplevels::onToplevel(void *data, zwlr_foreign_toplevel_manager_v1 *,
                                  zwlr_foreign_toplevel_handle_v1 *handle)
{
    static const zwlr_foreign_toplevel_handle_v1_listener listener = {
        [](void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *title) {
            static_cast<WaylandToplevels *>(data)->mHandles[handle].pending.title = bounded(title);
        },
        [](void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *applicationId) {
            static_cast<WaylandToplevels *>(data)->mHandles[handle].pending.applicationId =
                bounded(applicationId);
        },
        [](void *, zwlr_foreign_toplevel_handle_v1 *, wl_output *) {},
        [](void *, zwlr_foreign_toplevel_handle_v1 *, wl_output *) {},
        [](void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_array *states) {
            Toplevel &pending = static_cast<WaylandToplevels *>(data)->mHandles[handle].pending;
            pending.minimized = pending.active = false;
            const auto *state = static_cast<const uint32_t *>(states->data);
            for (size_t i = 0; i < states->size / sizeof(uint32_t); ++i) {
                pending.minimized |= state[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MINIMIZED;
                pending.active |= state[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
            }
        },
        [](void *data, zwlr_foreign_toplevel_handle_v1 *handle) {
            auto *self = static_cast<WaylandToplevels *>(data);
            self->mHandles[handle].announced = true;
            self->publish();
        },
        [](void *data, zwlr_foreign_toplevel_handle_v1 *handle) {
            auto *self = static_cast<WaylandToplevels *>(data);
            self->mHandles.erase(handle);
            zwlr_foreign_toplevel_handle_v1_destroy(handle);
            self->publish();
        },
        [](void *, zwlr_foreign_toplevel_handle_v1 *, zwlr_foreign_toplevel_handle_v1 *) {},
    };
    auto *self = static_cast<WaylandToplevels *>(data);
    Handle &added = self->mHandles[handle];
    added.id = self->mNextId++;
    added.pending.id = added.id;
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &listener, self);
}

void WaylandToplevels::onFinished(void *data, zwlr_foreign_toplevel_manager_v1 *)
{
    auto *self = static_cast<WaylandToplevels *>(data);
    KorvaleLog::line(QStringLiteral("The compositor stopped listing its windows"));
    zwlr_foreign_toplevel_manager_v1_destroy(self->mManager);
    self->mManager = nullptr;
}

QList<WaylandToplevels::Toplevel> WaylandToplevels::toplevels() const
{
    QList<Toplevel> list;
    for (const auto &[handle, state] : mHandles) {
        if (state.announced)
            list << state.pending;
    }
    std::sort(list.begin(), list.end(),
              [](const Toplevel &a, const Toplevel &b) { return a.id < b.id; });
    return list;
}

void WaylandToplevels::publish()
{
    {
        QMutexLocker locker(&listLock);
        sharedList = toplevels();
    }
    emit changed();
}

bool WaylandToplevels::activate(quint32 id)
{
    if (!mSeat)
        return false;
    for (const auto &[handle, state] : mHandles) {
        if (state.id == id) {
            zwlr_foreign_toplevel_handle_v1_activate(handle, mSeat);
            mConnection.flush();
            return true;
        }
    }
    return false;
}
