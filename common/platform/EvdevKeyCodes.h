#pragma once

#include <array>

// Linux input key codes (KEY_*, as the kernel numbers them) and the virtual key code of the key
// in the same place on the reference keyboard; see docs/keyboard.md. Every keyboard source (the
// X server, which numbers keys as these codes + 8, and the input devices themselves) maps
// through this one table, so that a stored key map means the same keys whichever reads it.
namespace EvdevKeyCodes {

inline constexpr int CodeCount = 0x300; // KEY_CNT

namespace detail {
struct KeyPair {
    int evdev;
    int virtualCode;
};

// clang-format off
constexpr KeyPair EvdevToVirtual[] = {
    {1, 53},    // Escape
    {2, 18},    {3, 19},    {4, 20},    {5, 21},    {6, 23},    // 1 2 3 4 5
    {7, 22},    {8, 26},    {9, 28},    {10, 25},   {11, 29},   // 6 7 8 9 0
    {12, 27},   {13, 24},   // - =
    {14, 51},   // Backspace (Delete)
    {15, 48},   // Tab
    {16, 12},   {17, 13},   {18, 14},   {19, 15},   {20, 17},   // Q W E R T
    {21, 16},   {22, 32},   {23, 34},   {24, 31},   {25, 35},   // Y U I O P
    {26, 33},   {27, 30},   // [ ]
    {28, 36},   // Return
    {29, 59},   // left Ctrl (Control)
    {30, 0},    {31, 1},    {32, 2},    {33, 3},    {34, 5},    // A S D F G
    {35, 4},    {36, 38},   {37, 40},   {38, 37},   // H J K L
    {39, 41},   {40, 39},   // ; '
    {41, 10},   // the key left of 1 (ISO section key)
    {42, 56},   // left Shift
    {43, 42},   // backslash
    {44, 6},    {45, 7},    {46, 8},    {47, 9},    {48, 11},   // Z X C V B
    {49, 45},   {50, 46},   // N M
    {51, 43},   {52, 47},   {53, 44},   // , . /
    {54, 60},   // right Shift
    {55, 67},   // keypad *
    {56, 58},   // left Alt (Option)
    {57, 49},   // Space
    {58, 57},   // Caps Lock
    {59, 122},  {60, 120},  {61, 99},   {62, 118},  {63, 96},   // F1 .. F5
    {64, 97},   {65, 98},   {66, 100},  {67, 101},  {68, 109},  // F6 .. F10
    {69, 71},   // Num Lock (keypad Clear)
    {70, 107},  // Scroll Lock, where F14 sits
    {71, 89},   {72, 91},   {73, 92},   {74, 78},   // keypad 7 8 9 -
    {75, 86},   {76, 87},   {77, 88},   {78, 69},   // keypad 4 5 6 +
    {79, 83},   {80, 84},   {81, 85},   {82, 82},   {83, 65},   // keypad 1 2 3 0 .
    {86, 50},   // the key right of left Shift (ISO)
    {87, 103},  {88, 111},  // F11 F12
    {89, 94},   // JIS underscore (Ro)
    {96, 76},   // keypad Enter
    {97, 62},   // right Ctrl
    {98, 75},   // keypad /
    {99, 105},  // Print Screen, where F13 sits
    {100, 61},  // right Alt (AltGr)
    {102, 115}, {103, 126}, {104, 116}, // Home Up PageUp
    {105, 123}, {106, 124}, {107, 119}, // Left Right End
    {108, 125}, {109, 121}, // Down PageDown
    {110, 114}, // Insert, where Help sits
    {111, 117}, // forward Delete (Suppression)
    {113, 74},  {114, 73},  {115, 72},  // Mute, Volume down, Volume up
    {117, 81},  // keypad =
    {119, 113}, // Pause, where F15 sits
    {121, 95},  // keypad , (JIS)
    {124, 93},  // Yen (JIS)
    {125, 55},  // left Super (Command)
    {126, 54},  // right Super (right Command)
    {127, 110}, // Menu (contextual menu)
    {183, 105}, {184, 107}, {185, 113}, {186, 106}, // F13 .. F16
    {187, 64},  {188, 79},  {189, 80},  {190, 90},  // F17 .. F20
};
// clang-format on

constexpr std::array<short, CodeCount> buildTable()
{
    std::array<short, CodeCount> table{};
    for (short &entry : table)
        entry = -1;
    for (const KeyPair &pair : EvdevToVirtual)
        table[std::size_t(pair.evdev)] = short(pair.virtualCode);
    return table;
}

inline constexpr std::array<short, CodeCount> Table = buildTable();
} // namespace detail

// -1 for a code without a virtual key code (or outside 0..CodeCount-1).
constexpr int virtualKeyCode(int evdevCode)
{
    if (evdevCode < 0 || evdevCode >= CodeCount)
        return -1;
    return detail::Table[std::size_t(evdevCode)];
}

} // namespace EvdevKeyCodes
