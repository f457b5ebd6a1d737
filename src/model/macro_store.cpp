#include "model/macro_store.h"

#include <algorithm>

namespace tavrix::model {

bool MacroStore::Add(const MacroRecord& record)
{
    if (m_records.size() >= kMaxMacros)
        return false;
    m_records.push_back(record);
    return true;
}

bool MacroStore::Assign(std::vector<MacroRecord> records)
{
    if (records.size() > kMaxMacros)
        return false;
    m_records = std::move(records);
    return true;
}

size_t MacroStore::MacroSlotOf(uint16_t number) const
{
    const auto found =
        std::find_if(m_records.begin(), m_records.end(), [number](const MacroRecord& r) { return r.number == number; });
    return found == m_records.end() ? 0 : static_cast<size_t>(found - m_records.begin());
}

uint16_t MacroStore::MacroNumberAt(int slot) const
{
    if (slot < 0 || static_cast<size_t>(slot) >= m_records.size())
        return 0;
    return m_records[static_cast<size_t>(slot)].number;
}

} // namespace tavrix::model
