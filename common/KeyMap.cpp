#include "KeyMap.h"

#include "AtomicFile.h"
#include "KorvaleLog.h"

#include <bit>

namespace {

struct NamedKey {
    const char *name;
    int keyCode;
};

// Keys named by what they do; the order is the order in which a map's names are listed, so
// that modifiers come first and every combination reads the same way whatever the press order.
// clang-format off
constexpr NamedKey OrderedNamedKeys[] = {
    {"Command", 55},     {"Option", 58},     {"Control", 59},     {"Shift", 56},
    {"fn", 63},          {"Return", 36},     {"Enter", 76},       {"Escape", 53},
    {"Tab", 48},         {"SpaceBar", 49},   {"Delete", 51},      {"Suppression", 117},
    {"F1", 122},         {"F2", 120},        {"F3", 99},          {"F4", 118},
    {"F5", 96},          {"F6", 97},         {"F7", 98},          {"F8", 100},
    {"F9", 101},         {"F10", 109},       {"F11", 103},        {"F12", 111},
    {"F13", 105},        {"F14", 107},       {"F15", 113},        {"F16", 106},
    {"F17", 64},         {"F18", 79},        {"F19", 80},         {"PageUp", 116},
    {"PageDown", 121},   {"Home", 115},      {"End", 119},        {"LeftArrow", 123},
    {"RightArrow", 124}, {"DownArrow", 125}, {"UpArrow", 126},    {"NumLock", 71},
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
