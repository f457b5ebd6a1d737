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

size_t MacroSlotOf(const MacroStore& store, uint16_t number)
{
    const auto records = store.Records();
    const auto found =
        std::find_if(records.begin(), records.end(), [number](const MacroRecord& r) { return r.number == number; });
    return found == records.end() ? 0 : static_cast<size_t>(found - records.begin());
}

uint16_t MacroNumberAt(const MacroStore& store, int slot)
{
    if (slot < 0 || static_cast<size_t>(slot) >= store.Count())
        return 0;
    return store.Records()[static_cast<size_t>(slot)].number;
}

} // namespace tavrix::model
