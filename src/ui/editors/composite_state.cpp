#include "ui/editors/composite_state.h"

#include <algorithm>

#include "model/key_code.h"
#include "model/media_keys.h"

namespace tavrix::ui {

namespace {

// A list entry chosen in a list of that size.
bool IsEntry(int choice, size_t size)
{
    return choice >= 0 && static_cast<size_t>(choice) < size;
}

uint16_t TypeOfPage(Page page)
{
    switch (page) {
    case Page::Macro:
        return model::kTypeMacro;
    case Page::Media:
        return model::kTypeMedia;
    case Page::Function:
        return model::kTypeFunction;
    case Page::Key:
        break;
    }
    return model::kTypeKey;
}

} // namespace

Page PageOfType(uint32_t type)
{
    switch (type) {
    case model::kTypeMacro:
        return Page::Macro;
    case model::kTypeMedia:
        return Page::Media;
    case model::kTypeFunction:
        return Page::Function;
    default:
        return Page::Key;
    }
}

uint16_t GKeyCodeOfSlot(size_t slot)
{
    if (slot < model::kGKeySlotBase || slot >= model::kGKeySlotEnd) {
        return 0;
    }
    const size_t position = slot - model::kGKeySlotBase;
    const auto bank = position < model::kGKeyCount ? model::GKeyBank::A : model::GKeyBank::B;
    return model::GKeyCode(bank, position % model::kGKeyCount);
}

std::optional<int> MouseEntryOf(uint32_t code)
{
    const auto& list = model::MouseActionList;
    const auto found = std::find(list.begin(), list.end(), code);
    if (found == list.end()) {
        return std::nullopt;
    }
    return static_cast<int>(found - list.begin());
}

void CompositeState::Open(size_t slot, bool macroOnly, const model::KeyAssignment& stored)
{
    m_slot = slot;
    m_macroOnly = macroOnly;
    m_stored = stored;
    m_type = macroOnly ? model::kTypeMacro : stored.type;
    // A key's own value is the key it sends (or, at its default, the key once assigned to
    // itself); the value of a slot with a text is no key at all.
    const bool valueIsKey = stored.type == model::kTypeKey || stored.type == model::kTypeDefault;
    m_captured = ShownPage() == Page::Key && valueIsKey ? stored.value : 0;
    m_shownKey = 0;
    m_mouseMode = false;
    m_firstMacroVisit = true;
    if (ShownPage() == Page::Key) {
        ShowKeyPage();
    }
    m_changed = false;
}

void CompositeState::ShowKeyPage()
{
    m_mouseMode = false;
    if (m_type != model::kTypeKey || m_captured == 0) {
        return;
    }
    if (MouseEntryOf(m_captured)) {
        m_mouseMode = true;
        return;
    }
    m_shownKey = m_captured;
}

bool CompositeState::ChoosePage(Page page)
{
    if (m_macroOnly && page != Page::Macro) {
        return false;
    }
    const uint16_t type = TypeOfPage(page);
    const bool keyPageShown = m_type == model::kTypeDefault || m_type == model::kTypeKey;
    if (m_type == type || (page == Page::Key && keyPageShown)) {
        return false;
    }
    m_type = type;
    m_changed = true;
    if (page == Page::Key) {
        ShowKeyPage();
    }
    return true;
}

MacroSelection CompositeState::MacroSelectionOnShow(bool fromModel)
{
    if (fromModel) {
        return MacroSelection::StoredNumber;
    }
    if (!m_firstMacroVisit) {
        return MacroSelection::Keep;
    }
    m_firstMacroVisit = false;
    return (m_stored.value & 0xFFFF) == 0 ? MacroSelection::First : MacroSelection::Keep;
}

void CompositeState::Capture(uint16_t code)
{
    m_captured = code;
    m_shownKey = code;
    m_type = model::kTypeKey;
    m_changed = true;
}

void CompositeState::SetMouseMode(bool mouse)
{
    m_mouseMode = mouse;
    m_type = model::kTypeKey;
}

bool CompositeState::Clear()
{
    const bool shownAnew = ChoosePage(Page::Key);
    if (m_type == model::kTypeKey) {
        m_shownKey = 0;
        m_type = model::kTypeDefault;
        m_mouseMode = false;
    }
    return shownAnew;
}

std::optional<SlotWrite> CompositeState::Commit(const PageChoices& choices) const
{
    SlotWrite write{m_type, GKeyCodeOfSlot(m_slot), 0};
    switch (m_type) {
    case model::kTypeDefault:
        return write;
    case model::kTypeKey: {
        if (m_mouseMode) {
            write.value = IsEntry(choices.mouse, model::MouseActionList.size())
                              ? model::MouseActionList[static_cast<size_t>(choices.mouse)]
                              : 0;
            return write;
        }
        write.value = m_captured;
        const uint16_t key = model::KeyOfSlotValue(m_captured);
        if (key == model::kNoKey || model::KeyIndexOf(key) == m_slot) {
            write.type = model::kTypeDefault;
        }
        return write;
    }
    case model::kTypeMacro:
        if (choices.macroListEmpty) {
            write.type = model::kTypeDefault;
            return write;
        }
        write.value = choices.macroNumber;
        write.gKeyCode = choices.repeatCount;
        return write;
    case model::kTypeMedia:
        // A stored index outside the list leaves it without a choice: the key keeps its value.
        write.value =
            IsEntry(choices.media, model::MediaList.size()) ? static_cast<uint32_t>(choices.media) : m_stored.value;
        return write;
    case model::kTypeFunction:
        write.value = IsEntry(choices.function, model::FunctionList.size()) ? static_cast<uint32_t>(choices.function)
                                                                            : m_stored.value;
        return write;
    default:
        return std::nullopt;
    }
}

} // namespace tavrix::ui
