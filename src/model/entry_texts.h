#pragma once

#include <cstddef>
#include <map>
#include <string>

#include "model/key_assignment.h"

namespace tavrix::model {

// The texts attached to key slots of types 3 and 6, one per slot of the four profile blocks.
// A slot either has no text or a text; its size counts UTF-16 units and the terminator, in bytes,
// as the text pool of a profile file stores it.
class EntryTexts {
public:
    // Slots outside 0..2047 are ignored by the setters and read as having no text.
    void Set(size_t slot, std::u16string text);
    void Clear(size_t slot);
    void ClearAll();

    const std::u16string* Text(size_t slot) const;
    // Bytes of the slot's text including the terminator; 0 when the slot has no text.
    size_t SizeInBytes(size_t slot) const;
    // Sum of SizeInBytes over all slots.
    size_t TotalSize() const;

private:
    // By slot. Few slots ever have a text, so an empty model costs nothing to make or move.
    std::map<size_t, std::u16string> m_texts;
};

} // namespace tavrix::model
