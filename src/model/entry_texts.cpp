#include "model/entry_texts.h"

namespace tavrix::model {

void EntryTexts::Set(size_t slot, std::u16string text)
{
    if (slot >= kSlotCount)
        return;
    m_texts[slot] = std::move(text);
}

void EntryTexts::Clear(size_t slot)
{
    m_texts.erase(slot);
}

void EntryTexts::ClearAll()
{
    m_texts.clear();
}

const std::u16string* EntryTexts::Text(size_t slot) const
{
    const auto found = m_texts.find(slot);
    return found == m_texts.end() ? nullptr : &found->second;
}

size_t EntryTexts::SizeInBytes(size_t slot) const
{
    const std::u16string* text = Text(slot);
    return text ? (text->size() + 1) * sizeof(char16_t) : 0;
}

size_t EntryTexts::TotalSize() const
{
    size_t total = 0;
    for (const auto& [slot, text] : m_texts)
        total += SizeInBytes(slot);
    return total;
}

} // namespace tavrix::model
