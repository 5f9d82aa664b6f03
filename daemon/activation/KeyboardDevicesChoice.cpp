#include "KeyboardDevicesChoice.h"

#include "KorvaleLog.h"
#include "platform/EvdevKeySource.h"

KeyboardDevicesChoice::KeyboardDevicesChoice(Factory devices, Factory display)
    : mDevices(std::move(devices))
    , mDisplay(std::move(display))
{
}

std::unique_ptr<KeyboardDevicesChoice> KeyboardDevicesChoice::forThisSession()
{
    return std::make_unique<KeyboardDevicesChoice>([] { return EvdevKeySource::create(); },
                                                   [] { return KeyMapSource::createX11(); });
}

std::optional<std::unique_ptr<KeyMapSource>> KeyboardDevicesChoice::apply(bool chosen)
{
    if (chosen == mChosen)
        return std::nullopt;
    mChosen = chosen;
    if (!chosen) {
        if (!mReading)
            return std::nullopt;
        mReading = false;
        KorvaleLog::line(QStringLiteral("The keyboards' devices are no longer read."));
        return mDisplay().source;
    }
    KeyMapSource::Creation devices = mDevices();
    if (!devices.source) {
        KorvaleLog::line(QStringLiteral("The keyboards' devices cannot be read (%1): the double "
                                        "tap stays unheard.")
                             .arg(devices.reason));
        return std::nullopt;
    }
    mReading = true;
    KorvaleLog::line(QStringLiteral("The keyboards are read from their devices, as chosen."));
    if (!devices.note.isEmpty())
        KorvaleLog::line(devices.note);
    return std::move(devices.source);
}
