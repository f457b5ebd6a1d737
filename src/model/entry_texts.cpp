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
    if (slot >= kSlotCount)
        return;
    m_texts[slot].reset();
}

void EntryTexts::ClearAll()
{
    for (auto& text : m_texts)
        text.reset();
}

const std::u16string* EntryTexts::Text(size_t slot) const
{
    if (slot >= kSlotCount || !m_texts[slot])
        return nullptr;
    return &*m_texts[slot];
}

size_t EntryTexts::SizeInBytes(size_t slot) const
{
    const std::u16string* text = Text(slot);
    return text ? (text->size() + 1) * sizeof(char16_t) : 0;
}

size_t EntryTexts::TotalSize() const
{
    size_t total = 0;
    for (size_t slot = 0; slot < kSlotCount; ++slot)
        total += SizeInBytes(slot);
    return total;
}

} // namespace tavrix::model
