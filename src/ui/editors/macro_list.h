#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "model/macro_record.h"
#include "ui/editors/composite_state.h"

// The macro page's working copy of the macro store: the macros in store order and which of them
// is shown. Apply commits it; closing drops it. Free of Qt.
namespace tavrix::ui {

class MacroList {
public:
    // A fresh copy of the store; no macro is shown.
    void Load(std::vector<model::MacroRecord> records);
    void Clear();

    [[nodiscard]] const std::vector<model::MacroRecord>& Records() const { return m_records; }
    [[nodiscard]] bool Empty() const { return m_records.empty(); }
    // The entry shown; -1 for none.
    [[nodiscard]] int Current() const { return m_current; }
    // The shown macro; nullptr when none is.
    [[nodiscard]] const model::MacroRecord* CurrentMacro() const;
    // Shows entry index; anything but an entry shows none.
    void SetCurrent(int index);

    // The entry a selection rule picks: the macro with the key's stored number, else the first;
    // the first; or the one shown now. -1 when the rule finds none.
    [[nodiscard]] int EntryFor(MacroSelection selection, uint32_t storedValue) const;

    // Keeps the repeat count the page shows in the shown macro's record.
    void SaveShown(uint8_t repeatCount);
    // The store took the list: no macro of it is new any more.
    void MarkCommitted();

private:
    std::vector<model::MacroRecord> m_records;
    int m_current = -1;
};

// The repeat count a box's text gives: its decimal number, held to 1..255; fallback when the text
// is no number.
[[nodiscard]] uint8_t RepeatCountFromText(std::string_view text, uint8_t fallback);

} // namespace tavrix::ui
