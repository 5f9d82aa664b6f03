#include "ActivationPlatform.h"

#include "KorvaleLog.h"

ActivationPlatform ActivationPlatform::create()
{
    ActivationPlatform platform;
    KeyMapSource::Creation keys = KeyMapSource::createX11();
    PointerSource::Creation pointer = PointerSource::createX11();
    platform.keys = std::move(keys.source);
    platform.pointer = std::move(pointer.source);
    if (!platform.keys || !platform.pointer) {
        const QString reason = keys.reason.isEmpty() ? pointer.reason : keys.reason;
        KorvaleLog::line(QStringLiteral("The activation gestures need an X11 session for now (%1); "
                                        "everything else keeps working.")
                             .arg(reason));
    } else if (!keys.note.isEmpty()) {
        KorvaleLog::line(keys.note);
    }
    return platform;
}
