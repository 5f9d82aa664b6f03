#include "KeyMap.h"

#include "AtomicFile.h"
#include "KorvaleLog.h"

#include <QCoreApplication>

#include <bit>

namespace {

struct NamedKey {
    const char *name;
    int keyCode;
};

// Keys named by what they do; the order is the order in which a map's names are listed, so
// that modifiers come first and every combination reads the same way whatever the press order.
// Marked for the "KeyNames" table, which gives each name as the keyboard in front of the user
// prints it (Command is Super there, Option is Alt).
// clang-format off
constexpr NamedKey OrderedNamedKeys[] = {
    {QT_TRANSLATE_NOOP("KeyNames", "Command"), 55},
    {QT_TRANSLATE_NOOP("KeyNames", "Option"), 58},
    {QT_TRANSLATE_NOOP("KeyNames", "Control"), 59},
    {QT_TRANSLATE_NOOP("KeyNames", "Shift"), 56},
    {QT_TRANSLATE_NOOP("KeyNames", "fn"), 63},
    {QT_TRANSLATE_NOOP("KeyNames", "Return"), 36},
    {QT_TRANSLATE_NOOP("KeyNames", "Enter"), 76},
    {QT_TRANSLATE_NOOP("KeyNames", "Escape"), 53},
    {QT_TRANSLATE_NOOP("KeyNames", "Tab"), 48},
    {QT_TRANSLATE_NOOP("KeyNames", "SpaceBar"), 49},
    {QT_TRANSLATE_NOOP("KeyNames", "Delete"), 51},
    {QT_TRANSLATE_NOOP("KeyNames", "Suppression"), 117},
    {QT_TRANSLATE_NOOP("KeyNames", "F1"), 122},
    {QT_TRANSLATE_NOOP("KeyNames", "F2"), 120},
    {QT_TRANSLATE_NOOP("KeyNames", "F3"), 99},
    {QT_TRANSLATE_NOOP("KeyNames", "F4"), 118},
    {QT_TRANSLATE_NOOP("KeyNames", "F5"), 96},
    {QT_TRANSLATE_NOOP("KeyNames", "F6"), 97},
    {QT_TRANSLATE_NOOP("KeyNames", "F7"), 98},
    {QT_TRANSLATE_NOOP("KeyNames", "F8"), 100},
    {QT_TRANSLATE_NOOP("KeyNames", "F9"), 101},
    {QT_TRANSLATE_NOOP("KeyNames", "F10"), 109},
    {QT_TRANSLATE_NOOP("KeyNames", "F11"), 103},
    {QT_TRANSLATE_NOOP("KeyNames", "F12"), 111},
    {QT_TRANSLATE_NOOP("KeyNames", "F13"), 105},
    {QT_TRANSLATE_NOOP("KeyNames", "F14"), 107},
    {QT_TRANSLATE_NOOP("KeyNames", "F15"), 113},
    {QT_TRANSLATE_NOOP("KeyNames", "F16"), 106},
    {QT_TRANSLATE_NOOP("KeyNames", "F17"), 64},
    {QT_TRANSLATE_NOOP("KeyNames", "F18"), 79},
    {QT_TRANSLATE_NOOP("KeyNames", "F19"), 80},
    {QT_TRANSLATE_NOOP("KeyNames", "PageUp"), 116},
    {QT_TRANSLATE_NOOP("KeyNames", "PageDown"), 121},
    {QT_TRANSLATE_NOOP("KeyNames", "Home"), 115},
    {QT_TRANSLATE_NOOP("KeyNames", "End"), 119},
    {QT_TRANSLATE_NOOP("KeyNames", "LeftArrow"), 123},
    {QT_TRANSLATE_NOOP("KeyNames", "RightArrow"), 124},
    {QT_TRANSLATE_NOOP("KeyNames", "DownArrow"), 125},
    {QT_TRANSLATE_NOOP("KeyNames", "UpArrow"), 126},
    {QT_TRANSLATE_NOOP("KeyNames", "NumLock"), 71},
};
// clang-format on

// Character keys carry the names printed on a French keyboard, by key code.
struct CharacterKey {
    int keyCode;
    const char *name; // UTF-8
};
// clang-format off
constexpr CharacterKey CharacterKeys[] = {
    {0, "q"},  {1, "s"},  {2, "d"},        {3, "f"},  {4, "h"},  {5, "g"},  {6, "w"},
    {7, "x"},  {8, "c"},  {9, "v"},        {10, "@"}, {11, "b"}, {12, "a"}, {13, "z"},
    {14, "e"}, {15, "r"}, {16, "y"},       {17, "t"}, {18, "&"}, {19, "é"}, {20, "\""},
    {21, "'"}, {22, "§"}, {23, "("},       {24, "-"}, {25, "ç"}, {26, "è"}, {27, ")"},
    {28, "!"}, {29, "à"}, {30, "$"},       {31, "o"}, {32, "u"}, {33, "^"}, {34, "i"},
    {35, "p"}, {37, "l"}, {38, "j"},       {39, "ù"}, {40, "k"}, {41, "m"}, {42, "`"},
    {43, ";"}, {44, "="}, {45, "n"},       {46, ","}, {47, ":"}, {50, "<"}, {65, ","},
    {67, "*"}, {69, "+"}, {75, "/"},       {78, "-"}, {81, "="}, {82, "0"}, {83, "1"},
    {84, "2"}, {85, "3"}, {86, "4"},       {87, "5"}, {88, "6"}, {89, "7"}, {91, "8"},
    {92, "9"},
};
// clang-format on

QHash<QString, QString> buildKeysName()
{
    QHash<QString, QString> table;
    for (const NamedKey &key : OrderedNamedKeys)
        table.insert(KeyMap::positionName(key.keyCode), QString::fromLatin1(key.name));
    for (const CharacterKey &key : CharacterKeys)
        table.insert(KeyMap::positionName(key.keyCode), QString::fromUtf8(key.name));
    return table;
}

// Clears the key in the working copy and lists it, so that a key is never named twice
// (addKeyPressedIn:keyMap:index:bitMask:).
void addKeyPressedIn(QStringList &names, KeyMap &workingCopy, int keyCode)
{
    if (!workingCopy.isKeyDown(keyCode))
        return;
    workingCopy.setKeyDown(keyCode, false);
    names.append(KeyMap::keyName(keyCode));
}

} // namespace

std::optional<KeyMap> KeyMap::fromData(const QByteArray &data)
{
    if (data.size() != ByteCount)
        return std::nullopt;
    KeyMap map;
    for (int i = 0; i < ByteCount; ++i)
        map.mBytes[std::size_t(i)] = std::uint8_t(data[i]);
    return map;
}

KeyMap KeyMap::ofKeys(std::initializer_list<int> keyCodes)
{
    KeyMap map;
    for (int keyCode : keyCodes)
        map.setKeyDown(keyCode);
    return map;
}

QByteArray KeyMap::toData() const
{
    return QByteArray(reinterpret_cast<const char *>(mBytes.data()), ByteCount);
}

bool KeyMap::isEmpty() const
{
    for (std::uint8_t byte : mBytes) {
        if (byte != 0)
            return false;
    }
    return true;
}

int KeyMap::bitCount() const
{
    int count = 0;
    for (std::uint8_t byte : mBytes)
        count += std::popcount(byte);
    return count;
}

bool KeyMap::isKeyDown(int keyCode) const
{
    if (keyCode < 0 || keyCode >= KeyCount)
        return false;
    return (mBytes[std::size_t(keyCode / 8)] & (1u << (keyCode % 8))) != 0;
}

void KeyMap::setKeyDown(int keyCode, bool down)
{
    if (keyCode < 0 || keyCode >= KeyCount)
        return;
    std::uint8_t &byte = mBytes[std::size_t(keyCode / 8)];
    const auto mask = std::uint8_t(1u << (keyCode % 8));
    byte = down ? std::uint8_t(byte | mask) : std::uint8_t(byte & ~mask);
}

KeyMap KeyMap::withoutCapsLock() const
{
    KeyMap copy = *this;
    copy.setKeyDown(VirtualKey::CapsLock, false);
    return copy;
}

QStringList KeyMap::names() const
{
    QStringList names;
    KeyMap workingCopy = *this;
    for (const NamedKey &key : OrderedNamedKeys)
        addKeyPressedIn(names, workingCopy, key.keyCode);
    for (int keyCode = 0; keyCode < KeyCount; ++keyCode)
        addKeyPressedIn(names, workingCopy, keyCode);
    return names;
}

QStringList KeyMap::displayNames() const
{
    static constexpr int ModifiersAsWritten[] = {VirtualKey::Control, VirtualKey::Option,
                                                 VirtualKey::Shift, VirtualKey::Command,
                                                 VirtualKey::Fn};
    QStringList shown;
    KeyMap others = *this;
    for (int keyCode : ModifiersAsWritten)
        addKeyPressedIn(shown, others, keyCode);
    // Character keys are the only one-letter names: they read as printed on the key cap. The
    // named keys and the position names of unnamed keys stay as they are.
    for (const QString &name : others.names())
        shown.append(name.size() == 1 ? name.toUpper() : name);
    return shown;
}

QString KeyMap::positionName(int byteIndex, int mask)
{
    return QStringLiteral("%1-%2").arg(byteIndex).arg(mask);
}

QString KeyMap::positionName(int keyCode)
{
    return positionName(keyCode / 8, 1 << (keyCode % 8));
}

const QHash<QString, QString> &KeyMap::getKeysName()
{
    static const QHash<QString, QString> table = buildKeysName();
    return table;
}

QString KeyMap::localizedName(const QString &name)
{
    return QCoreApplication::translate("KeyNames", qPrintable(name));
}

QString KeyMap::localizedString() const
{
    return displayString(&KeyMap::localizedName);
}

QString KeyMap::keyName(int keyCode)
{
    const QString position = positionName(keyCode);
    return getKeysName().value(position, position);
}

QByteArray KeysFile::contents(const QMap<QString, QString> &records)
{
    QStringList lines;
    for (auto it = records.cbegin(); it != records.cend(); ++it)
        lines.append(QStringLiteral("%1 = %2").arg(it.key(), it.value()));
    // UTF-8 rather than plain ASCII: a typed "é" must not make the whole file fail to save.
    return lines.join(QLatin1Char('\n')).toUtf8();
}

bool KeysFile::save(const QMap<QString, QString> &records, const QString &path)
{
    QString why;
    if (AtomicFile::write(path, contents(records), &why))
        return true;
    KorvaleLog::line(QStringLiteral("Unable saving data in file %1: %2").arg(path, why));
    return false;
}
