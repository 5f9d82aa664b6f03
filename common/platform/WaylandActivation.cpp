#include "WaylandActivation.h"

// Before the protocols' headers: their calls go through the loaded library.
#include "WaylandClientLibrary.h"

#include "WaylandConnection.h"

#include <xdg-activation-v1-client-protocol.h>

QByteArray WaylandActivation::requestToken(WaylandConnection &connection,
                                           const QString &applicationId, int timeoutMs)
{
    auto *activation =
        static_cast<xdg_activation_v1 *>(connection.bind(&xdg_activation_v1_interface, 1));
    if (!activation)
        return {};
    struct Answer {
        QByteArray token;
        bool done = false;
    } answer;
    static const xdg_activation_token_v1_listener listener = {
        [](void *data, xdg_activation_token_v1 *, const char *token) {
            auto *answer = static_cast<Answer *>(data);
            answer->token = token;
            answer->done = true;
        }};
    xdg_activation_token_v1 *request = xdg_activation_v1_get_activation_token(activation);
    xdg_activation_token_v1_add_listener(request, &listener, &answer);
    if (!applicationId.isEmpty())
        xdg_activation_token_v1_set_app_id(request, applicationId.toUtf8().constData());
    // No serial nor surface: the agent's windows are XWayland's. The compositor weighs the
    // token by its own rules; some then only mark the new window as asking for attention.
    xdg_activation_token_v1_commit(request);
    connection.dispatchUntil([&answer] { return answer.done; }, timeoutMs);
    // Destroyed either way: a late answer must not reach this frame.
    xdg_activation_token_v1_destroy(request);
    xdg_activation_v1_destroy(activation);
    connection.flush();
    return answer.token;
}
