#pragma once

#include <cstdint>

#include "model/entry_texts.h"
#include "model/macro_store.h"
#include "model/profile_file_layout.h"

namespace tavrix::model {

// The whole configuration as the program edits it and as a profile file holds it: the image
// (header, device description, four profile blocks of key slots), the macro store and the texts
// of slots of types 3 and 6. Guarded by the model lock wherever it is shared.
struct ConfigModel {
    ModelImage image = NewModelImage(0);
    MacroStore macros;
    EntryTexts texts;
};

// Whether a macro of the store has that number.
bool HasMacro(const MacroStore& macros, uint32_t number);

// A key assigned to a macro the store does not have (one dropped as damaged) would play another
// macro: it becomes a default key, as the keyboard gets it.
void ClearMissingMacroKeys(ConfigModel& model);

} // namespace tavrix::model
