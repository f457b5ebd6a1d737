#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "device/commands.h"
#include "model/key_assignment.h"

namespace tavrix::model {

// A profile's key table on the keyboard: what each of its 108 key positions sends, three bytes
// per position. Which key sits at a position is told by the keyboard's default key table.
inline constexpr size_t kKeyTablePositions = device::kKeyPositions;
inline constexpr size_t kKeyEntrySize = device::kKeyEntrySize;
inline constexpr size_t kKeyTableSize = device::kKeyTableSize;

using KeyTable = std::array<uint8_t, kKeyTableSize>;
using KeyEntry = std::array<uint8_t, kKeyEntrySize>;

// First byte of an entry: the family of what the key sends.
inline constexpr uint8_t kEntryNone = 0;
inline constexpr uint8_t kEntryMouse = 1;
inline constexpr uint8_t kEntryKeyboard = 2;
inline constexpr uint8_t kEntryConsumer = 3;
inline constexpr uint8_t kEntrySystemControl = 4;
inline constexpr uint8_t kEntrySpecial = 5;
// Second byte within a family.
inline constexpr uint8_t kMouseButton = 1;
inline constexpr uint8_t kMouseWheel = 5;
inline constexpr uint8_t kKeyboardModifier = 1;
inline constexpr uint8_t kKeyboardKey = 2;
inline constexpr uint8_t kSpecialMacro = 1;
inline constexpr uint8_t kSpecialKeyboard = 2;
inline constexpr uint8_t kSpecialFunction = 5;

KeyEntry EntryAt(const KeyTable& table, size_t position);
void SetEntry(KeyTable& table, size_t position, const KeyEntry& entry);

// The key an entry stands for; 0 when it stands for none.
uint16_t KeyFromEntry(const KeyEntry& entry);

// The 0-based position of the macro with that id in the edited macro list; nullopt when there
// is none. The macro store answers it.
using MacroSlotOf = std::function<std::optional<size_t>(uint32_t macroId)>;

// The key table of one profile block: the default table with every assigned key's entry
// replaced. A key assigned to a macro the list does not have (or any macro, without a
// macroSlotOf) keeps its default entry.
KeyTable EncodeProfileKeyTable(const ProfileBlock& block, const KeyTable& defaultTable, const MacroSlotOf& macroSlotOf);

// The profile block a key table stands for: a cleared block with a slot for every position
// whose entry differs from the default table's.
ProfileBlock DecodeProfileKeyTable(const KeyTable& table, const KeyTable& defaultTable);

} // namespace tavrix::model
