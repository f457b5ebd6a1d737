#include "ui/editors/action_list.h"

#include <algorithm>
#include <charconv>

#include "model/key_catalogue.h"

namespace tavrix::ui {

namespace {

constexpr uint32_t kDelayStepMs = 10;

} // namespace

void ActionList::Load(std::span<const model::MacroAction> actions)
{
    m_rows.clear();
    for (const model::MacroAction& action : actions) {
        if (!Add(action, m_rows.size())) {
            return;
        }
    }
}

bool ActionList::Add(model::MacroAction action, size_t at)
{
    if (Full()) {
        return false;
    }
    if (action.direction > model::kMacroRelease) {
        action.direction = model::kMacroPress;
    }
    m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(at), action);
    return true;
}

int ActionList::RecordingRow(int selected) const
{
    return selected >= 0 && selected < Count() ? selected + 1 : Count();
}

int ActionList::AddRecorded(model::MacroAction action, bool keepDelays, int selected)
{
    if (Full()) {
        return -1;
    }
    if (!keepDelays) {
        action.delay = kFixedRecordDelayMs;
    }
    const int at = RecordingRow(selected);
    if (at == 0) {
        action.delay = 0;
    } else {
        std::swap(m_rows[static_cast<size_t>(at) - 1].delay, action.delay);
    }
    (void)Add(action, static_cast<size_t>(at));
    return at;
}

int ActionList::Remove(int row)
{
    m_rows.erase(m_rows.begin() + row);
    return std::min(row, Count() - 1);
}

int ActionList::MoveTarget(int row, ActionMove move) const
{
    switch (move) {
    case ActionMove::Top:
        return 0;
    case ActionMove::Up:
        return std::max(row - 1, 0);
    case ActionMove::Down:
        return std::min(row + 1, Count() - 1);
    case ActionMove::Bottom:
        break;
    }
    return Count() - 1;
}

int ActionList::Move(int row, ActionMove move)
{
    const int to = MoveTarget(row, move);
    const auto from = m_rows.begin() + row;
    if (to < row) {
        std::rotate(m_rows.begin() + to, from, from + 1);
    } else {
        std::rotate(from, from + 1, m_rows.begin() + to + 1);
    }
    return to;
}

bool ActionList::SetKeyAtListPosition(int row, uint16_t listPosition)
{
    model::MacroAction& action = m_rows[static_cast<size_t>(row)];
    if (listPosition >= model::kKeyListLength || listPosition == model::ListPositionOf(action.keyCode)) {
        return false;
    }
    action.keyCode = model::KeyAtListPosition(listPosition);
    return true;
}

bool ActionList::SetDirection(int row, uint16_t direction)
{
    model::MacroAction& action = m_rows[static_cast<size_t>(row)];
    if (direction > model::kMacroRelease || direction == action.direction) {
        return false;
    }
    action.direction = direction;
    return true;
}

std::optional<TypedDelay> DelayFromText(std::string_view text)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    uint32_t number = 0;
    const std::from_chars_result parsed = std::from_chars(text.data(), text.data() + text.size(), number);
    if (parsed.ec == std::errc::result_out_of_range || number > kMaxTypedDelayMs) {
        return TypedDelay{kMaxTypedDelayMs, true};
    }
    return TypedDelay{number - number % kDelayStepMs, false};
}

} // namespace tavrix::ui
