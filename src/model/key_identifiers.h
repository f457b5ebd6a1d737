#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// Stable English identifiers of keys, media keys, keyboard functions and lighting effects, as
// readable profile files and the command line name them. They come from the language keys the catalogue names
// things by, never from the translated texts, so a file reads the same in every language.
namespace tavrix::model {

// The identifier of the key, or empty when it has none (no catalogue row, no name key, or a
// second code of a key whose first code carries the identifier, as 0x136 beside 0x036).
std::string_view KeyIdentifier(uint16_t code);
// The code of the key with that identifier (compared exactly); 0 when none has it.
uint16_t KeyOfIdentifier(std::string_view identifier);

// The identifier of MediaList[index]; empty beyond the list.
std::string_view MediaIdentifier(size_t index);
std::optional<size_t> MediaOfIdentifier(std::string_view identifier);

// The identifier of FunctionList[index]; empty beyond the list.
std::string_view FunctionIdentifier(size_t index);
std::optional<size_t> FunctionOfIdentifier(std::string_view identifier);

// The identifier of a lighting effect code (1..28 and the per-key effect); empty for other codes.
std::string_view EffectIdentifier(int code);
std::optional<uint8_t> EffectOfIdentifier(std::string_view identifier);

} // namespace tavrix::model
