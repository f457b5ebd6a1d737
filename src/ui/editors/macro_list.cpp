#include "ui/editors/macro_list.h"

#include <algorithm>
#include <charconv>

namespace tavrix::ui {

namespace {

constexpr unsigned long kFewestRepeats = 1;
constexpr unsigned long kMostRepeats = 255;

} // namespace

void MacroList::Load(std::vector<model::MacroRecord> records)
{
    m_records = std::move(records);
    m_current = -1;
}

void MacroList::Clear()
{
    m_records.clear();
    m_current = -1;
}

const model::MacroRecord* MacroList::CurrentMacro() const
{
    return m_current < 0 ? nullptr : &m_records[static_cast<size_t>(m_current)];
}

void MacroList::SetCurrent(int index)
{
    m_current = index >= 0 && static_cast<size_t>(index) < m_records.size() ? index : -1;
}

int MacroList::EntryFor(MacroSelection selection, uint32_t storedValue) const
{
    if (selection == MacroSelection::Keep) {
        return m_current;
    }
    if (m_records.empty()) {
        return -1;
    }
    if (selection == MacroSelection::StoredNumber) {
        const auto found = std::find_if(m_records.begin(), m_records.end(),
                                        [storedValue](const model::MacroRecord& r) { return r.number == storedValue; });
        if (found != m_records.end()) {
            return static_cast<int>(found - m_records.begin());
        }
    }
    return 0;
}

void MacroList::SaveShown(uint8_t repeatCount)
{
    if (m_current >= 0) {
        m_records[static_cast<size_t>(m_current)].repeatCount = repeatCount;
    }
}

void MacroList::MarkCommitted()
{
    for (model::MacroRecord& record : m_records) {
        record.newFlag = 0;
    }
}

uint8_t RepeatCountFromText(std::string_view text, uint8_t fallback)
{
    unsigned long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error == std::errc::result_out_of_range) {
        return static_cast<uint8_t>(kMostRepeats);
    }
    if (error != std::errc() || end != text.data() + text.size()) {
        return fallback;
    }
    return static_cast<uint8_t>(std::clamp(number, kFewestRepeats, kMostRepeats));
}

} // namespace tavrix::ui
