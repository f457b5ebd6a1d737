#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "model/key_names.h"
#include "model/macro_record.h"

namespace tavrix::model {

// The keyboard's extra area: the macro store packed for the keyboard. A 16-byte header (magic
// 0x55AA, total length, macro count, names flag, 8 reserved bytes), a table of 16-bit record
// offsets in slot order, then the records: action count (16), repeat count (8), name length (8),
// 4 bytes per action, and the name in UTF-16 without terminator when names are included.
inline constexpr uint16_t kMacroAreaMagic = 0x55AA;
inline constexpr size_t kMacroAreaHeaderSize = 16;
// The header's total length is 16-bit.
inline constexpr size_t kMaxMacroAreaSize = 0xFFFF;

struct MacroAreaSize {
    size_t withoutNames = 0;
    size_t withNames = 0;
};

// Bytes the macros take in the extra area, without and with their names.
MacroAreaSize MacroAreaSizes(std::span<const MacroRecord> macros);

// Packs the macros into the area, whose size must be the one MacroAreaSizes gives for the names
// choice. False, and nothing written, when it is not, when that size does not fit the header's
// 16-bit length, or when there are more than 100 macros. A delay beyond what the keyboard can
// hold is sent as the longest it can (40950 ms).
[[nodiscard]] bool EncodeMacroArea(std::span<const MacroRecord> macros, std::span<uint8_t> area, bool includeNames);

// The total length an area's header claims, when the header starts with the magic; the claim is
// the keyboard's word and is not checked against anything.
std::optional<size_t> MacroAreaClaimedSize(std::span<const uint8_t> header);

// The macros of an area read from the keyboard, in slot order; each is numbered by its slot + 1,
// and one without a name is named by the "MACRO_NEW_PREFIX" text and its number. The area is not
// trusted: nothing is read beyond the buffer or the header's total length, a record that does not
// lie whole inside them or holds more than 2000 actions is left out (the others keep their
// numbers), at most 100 are read, and an area without the magic holds no macros.
std::vector<MacroRecord> DecodeMacroArea(std::span<const uint8_t> area, const TextLookup& lookup);

} // namespace tavrix::model
