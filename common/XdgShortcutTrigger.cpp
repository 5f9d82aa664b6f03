#include "XdgShortcutTrigger.h"

#include <QStringList>

#include <array>

namespace {

struct KeyName {
    int keyCode;
    const char *keysym;
};

// Virtual key code -> keysym of a US PC-105 keyboard's base layer (docs/keyboard.md has the
// positions). Where F13..F15 and Print Screen share a code, the key PC keyboards have wins.
constexpr std::array KeyNames{
    KeyName{0, "a"},
    KeyName{1, "s"},
    KeyName{2, "d"},
    KeyName{3, "f"},
    KeyName{4, "h"},
    KeyName{5, "g"},
    KeyName{6, "z"},
    KeyName{7, "x"},
    KeyName{8, "c"},
    KeyName{9, "v"},
    KeyName{10, "grave"},
    KeyName{11, "b"},
    KeyName{12, "q"},
    KeyName{13, "w"},
    KeyName{14, "e"},
    KeyName{15, "r"},
    KeyName{16, "y"},
    KeyName{17, "t"},
    KeyName{18, "1"},
    KeyName{19, "2"},
    KeyName{20, "3"},
    KeyName{21, "4"},
    KeyName{22, "6"},
    KeyName{23, "5"},
    KeyName{24, "equal"},
    KeyName{25, "9"},
    KeyName{26, "7"},
    KeyName{27, "minus"},
    KeyName{28, "8"},
    KeyName{29, "0"},
    KeyName{30, "bracketright"},
    KeyName{31, "o"},
    KeyName{32, "u"},
    KeyName{33, "bracketleft"},
    KeyName{34, "i"},
    KeyName{35, "p"},
    KeyName{36, "Return"},
    KeyName{37, "l"},
    KeyName{38, "j"},
    KeyName{39, "apostrophe"},
    KeyName{40, "k"},
    KeyName{41, "semicolon"},
    KeyName{42, "backslash"},
    KeyName{43, "comma"},
    KeyName{44, "slash"},
    KeyName{45, "n"},
    KeyName{46, "m"},
    KeyName{47, "period"},
    KeyName{48, "Tab"},
    KeyName{49, "space"},
    KeyName{50, "less"},
    KeyName{51, "BackSpace"},
    KeyName{53, "Escape"},
    KeyName{64, "F17"},
    KeyName{65, "KP_Decimal"},
    KeyName{67, "KP_Multiply"},
    KeyName{69, "KP_Add"},
    KeyName{71, "Num_Lock"},
    KeyName{72, "XF86AudioRaiseVolume"},
    KeyName{73, "XF86AudioLowerVolume"},
    KeyName{74, "XF86AudioMute"},
    KeyName{75, "KP_Divide"},
    KeyName{76, "KP_Enter"},
    KeyName{78, "KP_Subtract"},
    KeyName{79, "F18"},
    KeyName{80, "F19"},
    KeyName{81, "KP_Equal"},
    KeyName{82, "KP_0"},
    KeyName{83, "KP_1"},
    KeyName{84, "KP_2"},
    KeyName{85, "KP_3"},
    KeyName{86, "KP_4"},
    KeyName{87, "KP_5"},
    KeyName{88, "KP_6"},
    KeyName{89, "KP_7"},
    KeyName{90, "F20"},
    KeyName{91, "KP_8"},
    KeyName{92, "KP_9"},
    KeyName{96, "F5"},
    KeyName{97, "F6"},
    KeyName{98, "F7"},
    KeyName{99, "F3"},
    KeyName{100, "F8"},
    KeyName{101, "F9"},
    KeyName{103, "F11"},
    KeyName{105, "Print"},
    KeyName{106, "F16"},
    KeyName{107, "Scroll_Lock"},
    KeyName{109, "F10"},
    KeyName{110, "Menu"},
    KeyName{111, "F12"},
    KeyName{113, "Pause"},
    KeyName{114, "Insert"},
    KeyName{115, "Home"},
    KeyName{116, "Page_Up"},
    KeyName{117, "Delete"},
    KeyName{118, "F4"},
    KeyName{119, "End"},
    KeyName{120, "F2"},
    KeyName{121, "Page_Down"},
    KeyName{122, "F1"},
    KeyName{123, "Left"},
    KeyName{124, "Right"},
    KeyName{125, "Down"},
    KeyName{126, "Up"},
};

const char *keysymOf(int keyCode)
{
    for (const KeyName &name : KeyNames) {
        if (name.keyCode == keyCode)
            return name.keysym;
    }
    return nullptr;
}

struct Modifier {
    const char *name;
    int left;
    int right;
};

// In the order the triggers' format lists its modifiers.
constexpr std::array Modifiers{
    Modifier{"CTRL", VirtualKey::Control, VirtualKey::RightControl},
    Modifier{"ALT", VirtualKey::Option, VirtualKey::RightOption},
    Modifier{"SHIFT", VirtualKey::Shift, VirtualKey::RightShift},
    Modifier{"LOGO", VirtualKey::Command, VirtualKey::RightCommand},
};

bool isModifier(int keyCode)
{
    for (const Modifier &modifier : Modifiers) {
        if (keyCode == modifier.left || keyCode == modifier.right)
            return true;
    }
    return keyCode == VirtualKey::CapsLock;
}

} // namespace

std::optional<QString> XdgShortcutTrigger::fromKeyMap(const KeyMap &stored)
{
    const KeyMap map = stored.withoutCapsLock();
    QStringList parts;
    for (const Modifier &modifier : Modifiers) {
        if (map.isKeyDown(modifier.left) || map.isKeyDown(modifier.right))
            parts.append(QString::fromLatin1(modifier.name));
    }
    const char *key = nullptr;
    for (int code = 0; code < KeyMap::KeyCount; ++code) {
        if (!map.isKeyDown(code) || isModifier(code))
            continue;
        // A second key, or one with no name, cannot be written as a trigger.
        if (key != nullptr)
            return std::nullopt;
        key = keysymOf(code);
        if (key == nullptr)
            return std::nullopt;
    }
    if (key == nullptr)
        return std::nullopt;
    parts.append(QString::fromLatin1(key));
    return parts.join(QLatin1Char('+'));
}
