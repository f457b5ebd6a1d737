#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "model/key_assignment.h"
#include "model/key_names.h"

namespace tavrix::model {

// The name of the edited macro with that id; nullopt when there is none. An empty function
// stands for "no model loaded".
using MacroNameOf = std::function<std::optional<std::u16string>(uint32_t macroId)>;

// A G-key by its position 0..8 (G1..G9).
struct GKeyPosition {
    size_t position;
};

// What the drawn keyboard shows for a key: its name, and for an assigned key what it does.
// Cut to the program's text buffer.
std::u16string KeyDescription(uint16_t code, const KeyAssignment& slot, const TextLookup& lookup,
                              const MacroNameOf& macroNameOf);
std::u16string KeyDescription(GKeyPosition key, const KeyAssignment& slot, const TextLookup& lookup,
                              const MacroNameOf& macroNameOf);

} // namespace tavrix::model
