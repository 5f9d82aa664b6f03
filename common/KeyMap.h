#pragma once

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

// Virtual key codes of the keys the agent cares about by name. Stored key maps use these codes
// whatever the platform, so that a map recorded once keeps its meaning.
namespace VirtualKey {
inline constexpr int Return = 36;
inline constexpr int Tab = 48;
inline constexpr int Space = 49;
inline constexpr int Delete = 51;
inline constexpr int Escape = 53;
inline constexpr int RightCommand = 54;
inline constexpr int Command = 55;
inline constexpr int Shift = 56;
inline constexpr int CapsLock = 57;
inline constexpr int Option = 58;
inline constexpr int Control = 59;
inline constexpr int RightShift = 60;
inline constexpr int RightOption = 61;
inline constexpr int RightControl = 62;
inline constexpr int Fn = 63;
} // namespace VirtualKey

// The state of the whole keyboard at one moment: 128 bits, one per virtual key code, the bit of
// key code k being bit (k mod 8) of byte k / 8. A plain value: copying it never allocates.
class KeyMap
{
public:
    static constexpr int ByteCount = 16;
    static constexpr int KeyCount = ByteCount * 8;
    using Bytes = std::array<std::uint8_t, ByteCount>;

    constexpr KeyMap() = default;
    constexpr explicit KeyMap(const Bytes &bytes)
        : mBytes(bytes)
    {
    }

    // A stored map (an item shortcut, the personal combination): exactly 16 bytes, or nothing.
    static std::optional<KeyMap> fromData(const QByteArray &data);
    static KeyMap ofKeys(std::initializer_list<int> keyCodes);
    QByteArray toData() const;

    const Bytes &bytes() const { return mBytes; }
    Bytes &bytes() { return mBytes; }

    bool isEmpty() const;
    int bitCount() const;
    bool isKeyDown(int keyCode) const;
    void setKeyDown(int keyCode, bool down = true);
    // The map as the gestures compare it: a locked Caps Lock never counts as a key held.
    KeyMap withoutCapsLock() const;

    friend bool operator==(const KeyMap &a, const KeyMap &b) { return a.mBytes == b.mBytes; }

    // Names of the keys held, modifiers first, each key once (getKeysPressed).
    QStringList names() const;
    // The same names in the order a Linux desktop writes a combination: Control, Option (Alt),
    // Shift, Command (Super), fn, then the other keys as names() lists them, character keys in
    // capitals ("Ctrl+Alt+K"). Only the text changes: the map itself is untouched.
    QStringList displayNames() const;
    // The display names joined by "+", each passed through `translate` (the empty string for
    // no key).
    template <typename Translate> QString displayString(Translate translate) const
    {
        QStringList parts;
        for (const QString &name : displayNames())
            parts.append(translate(name));
        return parts.join(QLatin1Char('+'));
    }

    // getShortKeysString: the names as the user reads them, joined by "+".
    QString localizedString() const;
    // A key name as the user's keyboard prints it ("Command" reads "Super").
    static QString localizedName(const QString &name);

    // "%d-%d" from the byte index and the bit mask: names one key whatever the layout.
    static QString positionName(int byteIndex, int mask);
    static QString positionName(int keyCode);
    // Position name -> key name, built once (getKeysName).
    static const QHash<QString, QString> &getKeysName();
    // The key's name, or its position name when it has none.
    static QString keyName(int keyCode);

private:
    Bytes mBytes{};
};

// Position names recorded by the key-detection panel with the characters typed, written to
// "keys.txt" in the data folder as "position = characters" lines.
namespace KeysFile {
QByteArray contents(const QMap<QString, QString> &records);
// False (and one log line) when the file could not be written.
bool save(const QMap<QString, QString> &records, const QString &path);
} // namespace KeysFile
