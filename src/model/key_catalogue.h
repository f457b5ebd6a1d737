#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "model/key_code.h"

namespace tavrix::model {

inline constexpr uint8_t kNoVirtualKey = 0xFF;
inline constexpr uint16_t kUndefinedListPosition = 0xFFFF;
// Keys outside the editors' key list carry 0x8000 + n as their list position.
inline constexpr uint16_t kOutsideListBase = 0x8000;
inline constexpr uint16_t kKeyListLength = 111;

// One row of the key catalogue, by key index. An undefined row has virtual key 0, device code 0,
// list position 0xFFFF and no name key.
struct KeyCatalogueRow {
    uint16_t code = kNoKey;
    uint8_t virtualKey = 0;
    // The virtual key with Num Lock off; differs from virtualKey only on the numeric keypad.
    uint8_t alternateVirtualKey = 0;
    // The byte the keyboard's tables and macros use for the key; 0 when it has none.
    uint8_t deviceCode = 0;
    uint16_t listPosition = kUndefinedListPosition;
    // Language key (section TEXT) of the key's name; empty when the key has none.
    std::string_view nameKey;

    constexpr bool IsDefined() const { return listPosition != kUndefinedListPosition; }
    bool operator==(const KeyCatalogueRow&) const = default;
};

using KeyCatalogueTable = std::array<KeyCatalogueRow, kKeyIndexCount>;

// The 256 rows, 157 of them defined.
const KeyCatalogueTable& KeyCatalogue();
// The row of the code's key index.
const KeyCatalogueRow& CatalogueRowOf(uint16_t code);

uint16_t ListPositionOf(uint16_t code);
// The code of the first row (lowest index) at that list position; 0 when none.
uint16_t KeyAtListPosition(uint16_t listPosition);

// Classes of device codes as the keyboard's tables and the key events use them.
enum class KeyClass : uint16_t {
    None = 0,
    SystemControl = 1,
    Mouse = 2,
    Keyboard = 7,
    Consumer = 12,
};

struct ClassifiedKey {
    KeyClass keyClass = KeyClass::None;
    uint8_t deviceCode = 0;

    bool operator==(const ClassifiedKey&) const = default;
};

ClassifiedKey ClassifyKey(uint16_t code);
// The first catalogue key (lowest index) whose device code the (class, value) pair stands for;
// 0 when none.
uint16_t KeyFromClass(KeyClass keyClass, uint32_t value);

// The modifier bit of a key; 0 when the key is none of the eight modifier keys.
uint8_t ModifierBitOf(uint16_t code);
// The key of the lowest set bit; 0 when no bit is set.
uint16_t ModifierKeyOf(uint8_t bits);

// Keys whose press the system reports only as a release.
bool IsReleaseOnlyKey(uint16_t code);

} // namespace tavrix::model
