#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/macro_record.h"
#include "ui/editors/composite_state.h"

// The macro page's working copy of the macro store: the macros in store order and which of them
// is shown. Apply commits it; closing drops it. Free of Qt.
namespace tavrix::ui {

// The pause before the next number is tried for a new macro's name.
inline constexpr uint32_t kNameRetryPauseMs = 16;

class MacroList {
public:
    // A fresh copy of the store; no macro is shown.
    void Load(std::vector<model::MacroRecord> records);
    void Clear();

    [[nodiscard]] const std::vector<model::MacroRecord>& Records() const { return m_records; }
    [[nodiscard]] bool Empty() const { return m_records.empty(); }
    [[nodiscard]] bool Full() const { return m_records.size() >= model::kMaxMacros; }
    // The entry shown; -1 for none.
    [[nodiscard]] int Current() const { return m_current; }
    // The shown macro; nullptr when none is.
    [[nodiscard]] const model::MacroRecord* CurrentMacro() const;
    // Shows entry index; anything but an entry shows none.
    void SetCurrent(int index);

    // The entry a selection rule picks: the macro with the key's stored number, else the first;
    // the first; or the one shown now. -1 when the rule finds none.
    [[nodiscard]] int EntryFor(MacroSelection selection, uint32_t storedValue) const;

    // The name of the next new macro: prefix and the new-macro counter, which counts on (and
    // starts again at 1 while the list is empty) until no entry's name begins with it, waiting
    // 16 ms before each further try.
    [[nodiscard]] std::u16string NextNewName(std::u16string_view prefix);
    // Appends a new macro with the name, repeating once, with the lowest number no entry has;
    // its entry, or -1 when the list holds 100 macros.
    int AddNew(std::u16string_view name);
    // The entry's name becomes text, cut to 249 characters.
    void Rename(int index, std::u16string_view text);
    // Removes the entry and makes the one before it current, else the first (none when the list
    // is empty now).
    void Remove(int index);

    // Keeps what the page shows of the shown macro in its record: the repeat count and the rows.
    void SaveShown(uint8_t repeatCount, std::span<const model::MacroAction> rows);
    // The store took the list: no macro of it is new any more.
    void MarkCommitted();

private:
    [[nodiscard]] uint16_t LowestFreeNumber() const;

    std::vector<model::MacroRecord> m_records;
    int m_current = -1;
    // Kept across openings, so new names go on counting.
    uint32_t m_newMacroCounter = 0;
};

// The repeat count a box's text gives: its decimal number, held to 1..255; fallback when the text
// is no number.
[[nodiscard]] uint8_t RepeatCountFromText(std::string_view text, uint8_t fallback);

// What the repeat-count box shows instead of its text: the nearest count for a number outside
// 1..255; nothing for a count in range or a text that is no number.
[[nodiscard]] std::optional<uint8_t> RepeatCountReplacement(std::string_view text);

} // namespace tavrix::ui
