#include "model/entry_texts.h"

namespace tavrix::model {

void EntryTexts::Set(size_t slot, std::u16string text)
{
    if (slot >= kSlotCount)
        return;
    Clear(slot);
    m_texts[slot] = std::move(text);
    m_totalSize += SizeInBytes(slot);
}

void EntryTexts::Clear(size_t slot)
{
    if (slot >= kSlotCount)
        return;
    m_totalSize -= SizeInBytes(slot);
    m_texts[slot].reset();
}

void EntryTexts::ClearAll()
{
    for (auto& text : m_texts)
        text.reset();
    m_totalSize = 0;
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

}  // namespace tavrix::model
