#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "model/config_model.h"

namespace tavrix::model {

// A profile's key slots and the names of the macros they may play, read in one go.
struct ProfileKeys {
    ProfileBlock assignments{};
    std::map<uint32_t, std::u16string> macroNames;
};

// The edits the editors make to the model. Each one takes the model lock for as long as it reads
// or changes the model, so no window locks the model or touches its records itself. Profiles
// are the keyboard's, 0 to device::kProfileCount - 1; slots are numbered within a profile block.
class ModelEditor {
public:
    ModelEditor(ConfigModel& model, std::recursive_mutex& modelLock) : m_model(model), m_lock(modelLock) {}

    // The slot as the model holds it; an empty slot for a profile or slot out of range.
    [[nodiscard]] KeyAssignment ReadKeySlot(int profile, size_t slot) const;

    // The profile's slots with the macro names; all slots default for a profile out of range.
    [[nodiscard]] ProfileKeys ReadProfileKeys(int profile) const;

    // Sets the cleared slots (all 16 bytes, the G-key code included) of profile to their defaults;
    // slots out of range are skipped. 1 when cleared, 0 for a profile out of range.
    [[nodiscard]] int ClearProfileKeys(int profile, std::span<const size_t> cleared);

    // Replaces the model with the cache file, which holds it as last read or applied. A file that
    // does not load whole leaves the model as it was: 1 when loaded, 0 otherwise.
    [[nodiscard]] int ReloadFromCache();

    // Writes type, G-key code field and value into the slot, keeps its lamp flag, zeroes its
    // reserved field and drops the text attached to it. 1 when written, 0 for a profile or slot
    // out of range (nothing changes).
    [[nodiscard]] int AssignKey(int profile, size_t slot, uint16_t type, uint16_t gKeyCode, uint32_t value);

    // A copy of the macro store in store order, each copy marked as committed.
    [[nodiscard]] std::vector<MacroRecord> CopyMacros() const;

    // Whether a key slot of any of the four blocks assigns the macro with that number.
    [[nodiscard]] bool IsMacroAssigned(uint16_t number) const;

    // Replaces the macro store with macros (in their order, each marked as committed) and
    // re-checks every key slot of type 4 of the four blocks: one that names no macro yet (number
    // 0) takes the first macro; one whose macro is gone, or whose number now belongs to a macro
    // made since (marked new), goes back to its default. 1 when committed; 0 for more than 100
    // macros, when neither the store nor any slot changes.
    [[nodiscard]] int CommitMacros(std::vector<MacroRecord> macros);

    // Writes the model to the file as a profile file, replacing it whole: 1 when written, 0 when
    // the file could not be written (what was there stays).
    [[nodiscard]] int SaveToFile(const std::filesystem::path& path);

private:
    ConfigModel& m_model;
    std::recursive_mutex& m_lock;
};

} // namespace tavrix::model
