#pragma once

#include <cstdint>
#include <optional>

#include "model/key_table_codec.h"

namespace tavrix::model {

// The key-table entry the keyboard sends for a mouse key; nullopt for a code that is not one of
// its mouse keys. The key-table codec's own table answers, so every reader agrees with it.
std::optional<KeyEntry> MouseEntryOfKey(uint16_t code);

} // namespace tavrix::model
