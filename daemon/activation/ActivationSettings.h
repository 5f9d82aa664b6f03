#pragma once

#include "KeyMap.h"

#include <optional>

// The settings the gestures depend on. The controller reads them with the rest of its settings
// and hands them over (DaemonActivationStep); nothing here reads the preferences.
struct ActivationSettings {
    int shortCutsActivated = 0;
    int shortCutsMenu = 0; // 0 Command, 1 Option, 2 Control, 3 Shift, 4 fn
    int shortCutsMenuRepetition = 0;
    int shortCutsKeyPersonalValues = 0;
    std::optional<KeyMap> shortCutsKeyPersonalValuesData;
    int shortCutsMouseActivated = 0;
    int shortCutsMouseMenu = 0; // 0 top left, 1 top right, 2 bottom left, 3 bottom right
    int shortCutsMouseCommandKey = 0;
    int shortCutsMouseOptionKey = 0;
    int shortCutsMouseShiftKey = 0;
    int revealCursor = 0; // 0 off, 1 Control, 2 Option, 3 Command
    bool showKeysDetectionAuto = true;
    bool controlClickInMenuBar = true;

    // The activation key map (mDefinedMacKeyMap): the personal combination when chosen and
    // present, otherwise the chosen modifier alone; empty for an unknown modifier.
    KeyMap definedKeyMap() const;
    // Key transitions that complete a tap sequence (mShortCutsMenuNumPressed): 3 for a double tap.
    int shortCutsMenuNumPressed() const { return 2 * shortCutsMenuRepetition + 3; }
    bool tapRecognitionEnabled() const
    {
        return shortCutsActivated != 0 && shortCutsKeyPersonalValues == 0;
    }
    // The modifier whose double press reveals the pointer, or -1.
    int revealCursorKeyCode() const;
};
