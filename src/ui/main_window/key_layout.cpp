#include "ui/main_window/key_layout.h"

#include <algorithm>

namespace tavrix::ui {

const std::array<DrawnKey, kDrawnKeyCount>& DrawnKeys()
{
    static constexpr std::array<DrawnKey, kDrawnKeyCount> kKeys{{
        {1058, 0x01E, 11},  // A
        {1075, 0x030, 52},  // B
        {1073, 0x02E, 36},  // C
        {1060, 0x020, 27},  // D
        {1046, 0x012, 26},  // E
        {1061, 0x021, 35},  // F
        {1062, 0x022, 43},  // G
        {1063, 0x023, 51},  // H
        {1051, 0x017, 66},  // I
        {1064, 0x024, 59},  // J
        {1065, 0x025, 67},  // K
        {1066, 0x026, 75},  // L
        {1077, 0x032, 68},  // M
        {1076, 0x031, 60},  // N
        {1052, 0x018, 74},  // O
        {1053, 0x019, 82},  // P
        {1044, 0x010, 10},  // Q
        {1047, 0x013, 34},  // R
        {1059, 0x01F, 19},  // S
        {1048, 0x014, 42},  // T
        {1050, 0x016, 58},  // U
        {1074, 0x02F, 44},  // V
        {1045, 0x011, 18},  // W
        {1072, 0x02D, 28},  // X
        {1049, 0x015, 50},  // Y
        {1071, 0x02C, 20},  // Z
        {1030, 0x002, 9},   // 1
        {1031, 0x003, 17},  // 2
        {1032, 0x004, 25},  // 3
        {1033, 0x005, 33},  // 4
        {1034, 0x006, 41},  // 5
        {1035, 0x007, 49},  // 6
        {1036, 0x008, 57},  // 7
        {1037, 0x009, 65},  // 8
        {1038, 0x00A, 73},  // 9
        {1039, 0x00B, 81},  // 0
        {1070, 0x01C, 107}, // Enter
        {1022, 0x001, 0},   // Esc
        {1043, 0x00E, 105}, // Backspace
        {1056, 0x00F, 2},   // Tab
        {1090, 0x039, 29},  // Space
        {1040, 0x00C, 89},  // Minus
        {1041, 0x00D, 97},  // Equals
        {1054, 0x01A, 90},  // Left bracket
        {1055, 0x01B, 98},  // Right bracket
        {1042, 0x02B, 106}, // Backslash
        {1067, 0x027, 83},  // Semicolon
        {1068, 0x028, 91},  // Apostrophe
        {1029, 0x029, 1},   // Grave
        {1078, 0x033, 76},  // Comma
        {1079, 0x034, 84},  // Period
        {1080, 0x035, 92},  // Slash
        {1010, 0x03B, 8},   // F1
        {1011, 0x03C, 16},  // F2
        {1012, 0x03D, 24},  // F3
        {1013, 0x03E, 32},  // F4
        {1014, 0x03F, 40},  // F5
        {1015, 0x040, 48},  // F6
        {1023, 0x041, 56},  // F7
        {1024, 0x042, 64},  // F8
        {1025, 0x043, 72},  // F9
        {1026, 0x044, 80},  // F10
        {1027, 0x057, 88},  // F11
        {1028, 0x058, 96},  // F12
        {1091, 0x137, 104}, // Print Screen
        {1093, 0x045, 120}, // Pause
        {1094, 0x152, 113}, // Insert
        {1097, 0x153, 114}, // Delete
        {1095, 0x147, 121}, // Home
        {1098, 0x14F, 122}, // End
        {1096, 0x149, 129}, // Page Up
        {1099, 0x151, 130}, // Page Down
        {1103, 0x148, 108}, // Up
        {1101, 0x150, 77},  // Down
        {1100, 0x14B, 69},  // Left
        {1102, 0x14D, 85},  // Right
        {1092, 0x046, 112}, // Scroll Lock
        {1069, 0x03A, 3},   // Caps Lock
        {1088, 0x15D, 53},  // Menu (application)
        {1083, 0x01D, 5},   // Left Ctrl
        {1089, 0x11D, 61},  // Right Ctrl
        {1082, 0x02A, 4},   // Left Shift
        {1081, 0x036, 100}, // Right Shift
        {1085, 0x038, 21},  // Left Alt
        {1086, 0x138, 37},  // Right Alt
        {1084, 0x15B, 13},  // Left Win
        {1087, 0x15C, 61},  // Right Win
        {1115, 0x04F, 109}, // Keypad 1
        {1116, 0x050, 117}, // Keypad 2
        {1117, 0x051, 125}, // Keypad 3
        {1112, 0x04B, 116}, // Keypad 4
        {1113, 0x04C, 124}, // Keypad 5
        {1114, 0x04D, 132}, // Keypad 6
        {1108, 0x047, 115}, // Keypad 7
        {1109, 0x048, 123}, // Keypad 8
        {1110, 0x049, 131}, // Keypad 9
        {1120, 0x052, 93},  // Keypad 0
        {1104, 0x145, 138}, // Num Lock
        {1118, 0x11C, 133}, // Keypad Enter
        {1119, 0x053, 101}, // Keypad period
        {1105, 0x135, 137}, // Keypad slash
        {1106, 0x037, 139}, // Keypad asterisk
        {1107, 0x04A, 140}, // Keypad minus
        {1111, 0x04E, 141}, // Keypad plus
    }};
    return kKeys;
}

int GKeyPosition(int controlId)
{
    const auto found = std::find(kGKeyIds.begin(), kGKeyIds.end(), controlId);
    return found == kGKeyIds.end() ? -1 : static_cast<int>(found - kGKeyIds.begin());
}

const DrawnKey* FindDrawnKey(int controlId)
{
    const std::array<DrawnKey, kDrawnKeyCount>& keys = DrawnKeys();
    const auto found =
        std::find_if(keys.begin(), keys.end(), [controlId](const DrawnKey& key) { return key.id == controlId; });
    return found == keys.end() ? nullptr : &*found;
}

bool IsDKey(int controlId)
{
    return controlId >= kFirstDKeyId && controlId < kFirstDKeyId + kDKeyCount;
}

std::optional<int> LampOf(int controlId)
{
    constexpr int kFnLamp = 45;
    if (controlId == kFnId) {
        return kFnLamp;
    }
    if (GKeyPosition(controlId) >= 0 || IsDKey(controlId)) {
        return 0;
    }
    if (const DrawnKey* key = FindDrawnKey(controlId)) {
        return key->ledIndex;
    }
    return std::nullopt;
}

} // namespace tavrix::ui
