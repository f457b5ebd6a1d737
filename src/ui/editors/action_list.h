#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/macro_record.h"

// The actions of the macro the macro page shows, one row each, and the rules by which loading,
// recording and the user's edits change them. Free of Qt.
namespace tavrix::ui {

// The pause every recorded action gets while the record-delay setting is off.
inline constexpr uint32_t kFixedRecordDelayMs = 50;
// The longest pause a user may type into a delay cell.
inline constexpr uint32_t kMaxTypedDelayMs = 40000;

enum class ActionMove { Top, Up, Down, Bottom };

class ActionList {
public:
    [[nodiscard]] const std::vector<model::MacroAction>& Rows() const { return m_rows; }
    [[nodiscard]] int Count() const { return static_cast<int>(m_rows.size()); }
    [[nodiscard]] bool Full() const { return m_rows.size() >= model::kMaxMacroActions; }

    // The actions of a stored macro, each keeping its delay; beyond 2000 they are dropped.
    void Load(std::span<const model::MacroAction> actions);
    void Clear() { m_rows.clear(); }

    // Adds a recorded action directly after the selected row (-1: none), else at the end. A row's
    // delay is the pause before the action after it, so the row before takes the new action's
    // delay and the new row the one that row had (0 for the first row). keepDelays off gives the
    // action the fixed 50 ms first. The new row, or -1 when there are 2000 rows already.
    int AddRecorded(model::MacroAction action, bool keepDelays, int selected);
    // The row a recorded action goes to while the row selected is selected.
    [[nodiscard]] int RecordingRow(int selected) const;

    // Removes the row; the row to select after it: the one that took its place, the one before
    // when it was the last, -1 when none is left. Other rows keep their delays.
    int Remove(int row);
    // Moves the row with its delay; the row it went to.
    int Move(int row, ActionMove move);
    // The row a move takes the row to, held to the list.
    [[nodiscard]] int MoveTarget(int row, ActionMove move) const;

    // The row's key becomes the key at a position of the key list; false when the position is
    // beyond the list or the row's key already stands there.
    bool SetKeyAtListPosition(int row, uint16_t listPosition);
    // false when the direction is neither press nor release, or the row has it already.
    bool SetDirection(int row, uint16_t direction);
    void SetDelay(int row, uint32_t delay) { m_rows[static_cast<size_t>(row)].delay = delay; }

private:
    bool Add(model::MacroAction action, size_t at);

    std::vector<model::MacroAction> m_rows;
};

// A delay as a user typed it into a cell.
struct TypedDelay {
    uint32_t delay = 0;  // milliseconds, a multiple of 10, at most 40000
    bool capped = false; // the number was above 40000

    bool operator==(const TypedDelay&) const = default;
};

// The delay a cell's text gives: its decimal number cut down to a multiple of 10, 40000 for
// anything above; nothing for an empty text or one that is no decimal number.
[[nodiscard]] std::optional<TypedDelay> DelayFromText(std::string_view text);

} // namespace tavrix::ui
