#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tavrix::model {

// The language text of a key in section TEXT of the current language file. The model takes the
// look-up from its caller so it stays free of the language files' reader.
using TextLookup = std::function<std::u16string(std::string_view key)>;

// Characters of the program's text buffers, terminator included.
inline constexpr size_t kTextCapacity = 260;

// The key's name; a key without a name of its own, or whose text is empty, is named by the
// "UNKNOWN_KEY" text filled with its code. Cut to capacity - 1 characters.
std::u16string KeyName(uint16_t code, const TextLookup& lookup, size_t capacity = kTextCapacity);
// The text of the name key of the key at that list position; empty when there is none.
std::u16string KeyNameAtListPosition(uint16_t listPosition, const TextLookup& lookup);

} // namespace tavrix::model
