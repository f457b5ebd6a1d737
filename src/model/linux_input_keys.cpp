#include "model/linux_input_keys.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace tavrix::model {

namespace {

struct InputKey {
    uint16_t inputCode;
    uint16_t keyCode;
};

// Linux input code → key code. The key code is the key's set-1 make code (0x100 added for keys
// sent with the 0xE0 prefix), with the catalogue's own codes where they differ: Num Lock 0x145,
// Pause 0x045, Print Screen 0x137 (Linux calls it SysRq), F13 0x064. Hangeul and Hanja, which
// set 1 sends as bare releases, are the catalogue keys of their HID usages (KR and KL).
constexpr InputKey kInputKeys[] = {
    {1, 0x001},   // Esc
    {2, 0x002},   // 1
    {3, 0x003},   // 2
    {4, 0x004},   // 3
    {5, 0x005},   // 4
    {6, 0x006},   // 5
    {7, 0x007},   // 6
    {8, 0x008},   // 7
    {9, 0x009},   // 8
    {10, 0x00A},  // 9
    {11, 0x00B},  // 0
    {12, 0x00C},  // Minus
    {13, 0x00D},  // Equals
    {14, 0x00E},  // Backspace
    {15, 0x00F},  // Tab
    {16, 0x010},  // Q
    {17, 0x011},  // W
    {18, 0x012},  // E
    {19, 0x013},  // R
    {20, 0x014},  // T
    {21, 0x015},  // Y
    {22, 0x016},  // U
    {23, 0x017},  // I
    {24, 0x018},  // O
    {25, 0x019},  // P
    {26, 0x01A},  // Left bracket
    {27, 0x01B},  // Right bracket
    {28, 0x01C},  // Enter
    {29, 0x01D},  // Left Ctrl
    {30, 0x01E},  // A
    {31, 0x01F},  // S
    {32, 0x020},  // D
    {33, 0x021},  // F
    {34, 0x022},  // G
    {35, 0x023},  // H
    {36, 0x024},  // J
    {37, 0x025},  // K
    {38, 0x026},  // L
    {39, 0x027},  // Semicolon
    {40, 0x028},  // Apostrophe
    {41, 0x029},  // Grave
    {42, 0x02A},  // Left Shift
    {43, 0x02B},  // Backslash
    {44, 0x02C},  // Z
    {45, 0x02D},  // X
    {46, 0x02E},  // C
    {47, 0x02F},  // V
    {48, 0x030},  // B
    {49, 0x031},  // N
    {50, 0x032},  // M
    {51, 0x033},  // Comma
    {52, 0x034},  // Period
    {53, 0x035},  // Slash
    {54, 0x036},  // Right Shift
    {55, 0x037},  // Keypad asterisk
    {56, 0x038},  // Left Alt
    {57, 0x039},  // Space
    {58, 0x03A},  // Caps Lock
    {59, 0x03B},  // F1
    {60, 0x03C},  // F2
    {61, 0x03D},  // F3
    {62, 0x03E},  // F4
    {63, 0x03F},  // F5
    {64, 0x040},  // F6
    {65, 0x041},  // F7
    {66, 0x042},  // F8
    {67, 0x043},  // F9
    {68, 0x044},  // F10
    {69, 0x145},  // Num Lock
    {70, 0x046},  // Scroll Lock
    {71, 0x047},  // Keypad 7
    {72, 0x048},  // Keypad 8
    {73, 0x049},  // Keypad 9
    {74, 0x04A},  // Keypad minus
    {75, 0x04B},  // Keypad 4
    {76, 0x04C},  // Keypad 5
    {77, 0x04D},  // Keypad 6
    {78, 0x04E},  // Keypad plus
    {79, 0x04F},  // Keypad 1
    {80, 0x050},  // Keypad 2
    {81, 0x051},  // Keypad 3
    {82, 0x052},  // Keypad 0
    {83, 0x053},  // Keypad period
    {86, 0x056},  // The key between Left Shift and Z (K45)
    {87, 0x057},  // F11
    {88, 0x058},  // F12
    {89, 0x073},  // Ro (K56)
    {92, 0x079},  // Henkan (convert)
    {93, 0x070},  // Katakana/Hiragana
    {94, 0x07B},  // Muhenkan (no convert)
    {96, 0x11C},  // Keypad Enter
    {97, 0x11D},  // Right Ctrl
    {98, 0x135},  // Keypad slash
    {99, 0x137},  // Print Screen
    {100, 0x138}, // Right Alt
    {102, 0x147}, // Home
    {103, 0x148}, // Up
    {104, 0x149}, // Page Up
    {105, 0x14B}, // Left
    {106, 0x14D}, // Right
    {107, 0x14F}, // End
    {108, 0x150}, // Down
    {109, 0x151}, // Page Down
    {110, 0x152}, // Insert
    {111, 0x153}, // Delete
    {113, 0x120}, // Mute
    {114, 0x12E}, // Volume down
    {115, 0x130}, // Volume up
    {116, 0x15E}, // Power
    {119, 0x045}, // Pause
    {121, 0x07E}, // Keypad comma (K107)
    {122, 0x072}, // Hangeul
    {123, 0x071}, // Hanja
    {124, 0x07D}, // Yen (K14)
    {125, 0x15B}, // Left Super
    {126, 0x15C}, // Right Super
    {127, 0x15D}, // Menu
    {128, 0x168}, // Browser stop
    {140, 0x121}, // Calculator
    {142, 0x15F}, // Sleep
    {143, 0x163}, // Wake
    {155, 0x16C}, // Mail
    {156, 0x166}, // Browser favourites
    {157, 0x16B}, // My computer
    {158, 0x16A}, // Browser back
    {159, 0x169}, // Browser forward
    {163, 0x119}, // Next track
    {164, 0x122}, // Play/Pause
    {165, 0x110}, // Previous track
    {166, 0x124}, // Stop
    {172, 0x132}, // Browser home
    {173, 0x167}, // Browser refresh
    {183, 0x064}, // F13
    {217, 0x165}, // Browser search
    {226, 0x16D}, // Media player
};

constexpr std::size_t kTableSize = 256;
// X11 and Wayland number keys from 8 up.
constexpr uint32_t kNativeScanCodeOffset = 8;

constexpr std::array<uint16_t, kTableSize> BuildTable()
{
    std::array<uint16_t, kTableSize> table{};
    for (const InputKey& key : kInputKeys)
        table[key.inputCode] = key.keyCode;
    return table;
}

constexpr std::array<uint16_t, kTableSize> kTable = BuildTable();

// Each input code once, each key once: a repeated row would silently lose one of them.
constexpr bool EachKeyOnce()
{
    for (std::size_t i = 0; i < std::size(kInputKeys); ++i) {
        for (std::size_t j = i + 1; j < std::size(kInputKeys); ++j) {
            if (kInputKeys[i].keyCode == kInputKeys[j].keyCode)
                return false;
        }
    }
    return true;
}
static_assert(EachKeyOnce());
static_assert(std::count_if(kTable.begin(), kTable.end(), [](uint16_t code) { return code != 0; }) ==
              std::size(kInputKeys));

} // namespace

uint16_t KeyFromLinuxInput(uint32_t inputCode)
{
    return inputCode < kTable.size() ? kTable[inputCode] : 0;
}

uint16_t KeyFromNativeScanCode(uint32_t nativeScanCode)
{
    return nativeScanCode < kNativeScanCodeOffset ? 0 : KeyFromLinuxInput(nativeScanCode - kNativeScanCodeOffset);
}

} // namespace tavrix::model
