#include "ui/editors/macro_list.h"

#include <algorithm>
#include <charconv>

#include "platform/clock.h"

namespace tavrix::ui {

namespace {

constexpr unsigned long kFewestRepeats = 1;
constexpr unsigned long kMostRepeats = 255;

char16_t FoldCase(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// Whether name begins with prefix, letters compared without regard to case.
bool BeginsWith(std::u16string_view name, std::u16string_view prefix)
{
    return name.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), name.begin(),
                      [](char16_t a, char16_t b) { return FoldCase(a) == FoldCase(b); });
}

std::u16string Decimal(uint32_t number)
{
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

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

std::u16string MacroList::NextNewName(std::u16string_view prefix)
{
    if (m_records.empty()) {
        m_newMacroCounter = 0;
    }
    for (;;) {
        ++m_newMacroCounter;
        std::u16string name(prefix);
        name += Decimal(m_newMacroCounter);
        const bool taken = std::any_of(m_records.begin(), m_records.end(),
                                       [&](const model::MacroRecord& r) { return BeginsWith(r.Name(), name); });
        if (!taken) {
            return name;
        }
        platform::SleepMs(kNameRetryPauseMs);
    }
}

int MacroList::AddNew(std::u16string_view name)
{
    if (Full()) {
        return -1;
    }
    model::MacroRecord record;
    record.SetName(name);
    record.repeatCount = 1;
    record.newFlag = 1;
    record.number = LowestFreeNumber();
    m_records.push_back(record);
    return static_cast<int>(m_records.size()) - 1;
}

void MacroList::Rename(int index, std::u16string_view text)
{
    m_records[static_cast<size_t>(index)].SetName(text);
}

void MacroList::Remove(int index)
{
    m_records.erase(m_records.begin() + index);
    SetCurrent(std::max(index - 1, 0));
}

uint16_t MacroList::LowestFreeNumber() const
{
    for (uint16_t number = 1; number <= model::kMaxMacros; ++number) {
        const bool used = std::any_of(m_records.begin(), m_records.end(),
                                      [number](const model::MacroRecord& r) { return r.number == number; });
        if (!used) {
            return number;
        }
    }
    return 0;
}

void MacroList::SaveShown(uint8_t repeatCount, std::span<const model::MacroAction> rows)
{
    if (m_current < 0) {
        return;
    }
    model::MacroRecord& record = m_records[static_cast<size_t>(m_current)];
    record.repeatCount = repeatCount;
    const size_t count = std::min(rows.size(), model::kMaxMacroActions);
    record.actionCount = static_cast<uint16_t>(count);
    const auto end = std::copy_n(rows.begin(), count, record.actions.begin());
    // Slots beyond the count hold nothing, so the record reads back as it was written.
    std::fill(end, record.actions.end(), model::MacroAction{});
}

void MacroList::MarkCommitted()
{
    for (model::MacroRecord& record : m_records) {
        record.newFlag = 0;
    }
}

std::optional<uint8_t> RepeatCountReplacement(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view digits = negative ? text.substr(1) : text;
    unsigned long number = 0;
    const std::from_chars_result parsed = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    const bool tooLarge = parsed.ec == std::errc::result_out_of_range;
    if (digits.empty() || parsed.ptr != digits.data() + digits.size() || (parsed.ec != std::errc() && !tooLarge)) {
        return std::nullopt;
    }
    if (negative) {
        return static_cast<uint8_t>(kFewestRepeats);
    }
    if (tooLarge || number > kMostRepeats) {
        return static_cast<uint8_t>(kMostRepeats);
    }
    if (number < kFewestRepeats) {
        return static_cast<uint8_t>(kFewestRepeats);
    }
    return std::nullopt;
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
