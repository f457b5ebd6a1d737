#pragma once

#include <cstddef>
#include <vector>

#include "model/config_model.h"
#include "model/macro_record.h"

namespace tavrix::bench {

// count macros of the given number of actions, numbered 1..count, each with a name of
// nameLength characters; the actions press and release letter keys with short delays.
std::vector<model::MacroRecord> MakeMacros(std::size_t count, std::size_t actions, std::size_t nameLength);

// The largest model a profile file can hold: 100 macros of 2000 actions with names of the
// longest length, and in every profile block a remapped key, a macro key and a key with a text.
model::ConfigModel LargestModel();

// 100 macros that fit the factory keyboard's extra area with their names.
std::vector<model::MacroRecord> KeyboardMacros();

} // namespace tavrix::bench
