#include "ActivationSettings.h"

KeyMap ActivationSettings::definedKeyMap() const
{
    if (shortCutsKeyPersonalValues != 0 && shortCutsKeyPersonalValuesData)
        return *shortCutsKeyPersonalValuesData;
    switch (shortCutsMenu) {
    case 0:
        return KeyMap::ofKeys({VirtualKey::Command});
    case 1:
        return KeyMap::ofKeys({VirtualKey::Option});
    case 2:
        return KeyMap::ofKeys({VirtualKey::Control});
    case 3:
        return KeyMap::ofKeys({VirtualKey::Shift});
    case 4:
        return KeyMap::ofKeys({VirtualKey::Fn});
    default:
        return {};
    }
}

int ActivationSettings::revealCursorKeyCode() const
{
    switch (revealCursor) {
    case 1:
        return VirtualKey::Control;
    case 2:
        return VirtualKey::Option;
    case 3:
        return VirtualKey::Command;
    default:
        return -1;
    }
}
