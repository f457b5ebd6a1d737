#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/macro_record.h"

namespace tavrix::model {

// The macros of the model in store order, at most 100. A macro's position in the store is its
// macro slot, by which the keyboard's key tables refer to it; the model refers to it by number.
class MacroStore {
public:
    size_t Count() const { return m_records.size(); }
    bool Empty() const { return m_records.empty(); }

    std::span<const MacroRecord> Records() const { return m_records; }
    std::span<MacroRecord> Records() { return m_records; }

    // Appends a copy at the end; false when the store already holds 100 macros.
    [[nodiscard]] bool Add(const MacroRecord& record);
    // Replaces the whole store; false, and the store unchanged, when there are more than 100.
    [[nodiscard]] bool Assign(std::vector<MacroRecord> records);
    void Clear() { m_records.clear(); }

    // Slot of the macro with that number; 0 when no macro has it.
    size_t MacroSlotOf(uint16_t number) const;
    // Number of the macro at that slot; 0 for a slot below 0 or beyond the count.
    uint16_t MacroNumberAt(int slot) const;

    bool operator==(const MacroStore&) const = default;

private:
    std::vector<MacroRecord> m_records;
};

} // namespace tavrix::model
