#include "EvdevKeyCodes.h"
#include "KeyMapSource.h"
#include "X11Connection.h"
#include "X11RawKeySource.h"

#include <array>
#include <mutex>

// Xlib last: its macros (None, Bool, KeyPress...) must not reach the Qt headers.
#include <X11/Xlib.h>

namespace {

constexpr int X11KeyCodeOffset = 8;

constexpr std::array<int, 256> buildX11Table()
{
    std::array<int, 256> table{};
    for (int &entry : table)
        entry = -1;
    for (int evdev = 0; evdev + X11KeyCodeOffset < 256; ++evdev)
        table[std::size_t(evdev + X11KeyCodeOffset)] = EvdevKeyCodes::virtualKeyCode(evdev);
    return table;
}

constexpr std::array<int, 256> X11ToVirtual = buildX11Table();

class X11KeyMapSource final : public KeyMapSource
{
public:
    explicit X11KeyMapSource(X11Connection connection)
        : mConnection(std::move(connection))
        , mDisplay(mConnection.display())
    {
    }

    KeyMap sample() override
    {
        // The connection is ours alone; the lock only matters if two threads sample at once.
        char x11Keymap[32] = {};
        {
            std::lock_guard lock(mMutex);
            XQueryKeymap(mDisplay, x11Keymap);
        }
        return X11KeyCodes::keyMapFromX11Keymap(x11Keymap);
    }

private:
    std::mutex mMutex;
    X11Connection mConnection;
    Display *mDisplay;
};

} // namespace

int X11KeyCodes::virtualKeyCode(int x11KeyCode)
{
    if (x11KeyCode < 0 || x11KeyCode >= int(X11ToVirtual.size()))
        return -1;
    return X11ToVirtual[std::size_t(x11KeyCode)];
}

KeyMap X11KeyCodes::keyMapFromX11Keymap(const char (&x11Keymap)[32])
{
    KeyMap map;
    for (int byteIndex = 0; byteIndex < 32; ++byteIndex) {
        const auto byte = static_cast<unsigned char>(x11Keymap[byteIndex]);
        if (byte == 0)
            continue;
        for (int bit = 0; bit < 8; ++bit) {
            if (byte & (1u << bit))
                map.setKeyDown(X11ToVirtual[std::size_t(byteIndex * 8 + bit)]);
        }
    }
    return map;
}

namespace {

// Raw key events where the server has them; the note says why the keyboard is sampled instead.
std::unique_ptr<KeyMapSource> keyMapSourceFor(X11Connection connection, KeyMapSource::Feed feed,
                                              QString *note)
{
    if (feed == KeyMapSource::Feed::Automatic
        && qEnvironmentVariableIntValue("KORVALE_KEYMAP_SAMPLING") != 0)
        feed = KeyMapSource::Feed::Sampling;
    QString whyNot = QStringLiteral("KORVALE_KEYMAP_SAMPLING is set");
    if (feed == KeyMapSource::Feed::Automatic) {
        if (std::unique_ptr<KeyMapSource> heard = X11RawKeys::create(connection, &whyNot))
            return heard;
    }
    *note = QStringLiteral("The keyboard is sampled every 0.03 s, and a quicker tap can pass "
                           "unseen: %1.")
                .arg(whyNot);
    return std::make_unique<X11KeyMapSource>(std::move(connection));
}

} // namespace

KeyMapSource::Creation KeyMapSource::createX11(Feed feed)
{
    X11Connection connection;
    if (!connection)
        return {nullptr, connection.why(), {}};
    Creation creation;
    creation.source = keyMapSourceFor(std::move(connection), feed, &creation.note);
    return creation;
}
