#include "model/model_editor.h"

#include <algorithm>

#include "device/commands.h"
#include "model/profile_file.h"

namespace tavrix::model {

namespace {

bool IsEditableSlot(int profile, size_t slot)
{
    return profile >= 0 && profile < device::kProfileCount && slot < kSlotsPerBlock;
}

size_t SlotIndex(int profile, size_t slot)
{
    return static_cast<size_t>(profile) * kSlotsPerBlock + slot;
}

const MacroRecord* FindMacro(const std::vector<MacroRecord>& macros, uint32_t number)
{
    const auto found =
        std::find_if(macros.begin(), macros.end(), [number](const MacroRecord& r) { return r.number == number; });
    return found == macros.end() ? nullptr : &*found;
}

// A macro slot's reference after the commit: the first macro for one that names none yet; the
// default for one whose macro is gone or was replaced by a new macro of the same number.
void RecheckMacroReference(KeyAssignment& slot, const std::vector<MacroRecord>& macros)
{
    if (slot.type != kTypeMacro)
        return;
    if (slot.value == 0) {
        if (!macros.empty())
            slot.value = macros.front().number;
        return;
    }
    const MacroRecord* macro = FindMacro(macros, slot.value);
    if (macro == nullptr || macro->newFlag == 1)
        slot.type = kTypeDefault;
}

} // namespace

KeyAssignment ModelEditor::ReadKeySlot(int profile, size_t slot) const
{
    if (!IsEditableSlot(profile, slot))
        return {};
    std::lock_guard lock(m_lock);
    return m_model.image.Slot(SlotIndex(profile, slot));
}

int ModelEditor::AssignKey(int profile, size_t slot, uint16_t type, uint16_t gKeyCode, uint32_t value)
{
    if (!IsEditableSlot(profile, slot))
        return 0;
    std::lock_guard lock(m_lock);
    const size_t index = SlotIndex(profile, slot);
    KeyAssignment& assignment = m_model.image.Slot(index);
    assignment.type = type;
    assignment.gKeyCode = gKeyCode;
    assignment.value = value;
    assignment.reserved = 0;
    m_model.texts.Clear(index);
    return 1;
}

ProfileKeys ModelEditor::ReadProfileKeys(int profile) const
{
    ProfileKeys keys;
    if (profile < 0 || profile >= device::kProfileCount)
        return keys;
    std::lock_guard lock(m_lock);
    keys.assignments = m_model.image.blocks[static_cast<size_t>(profile)];
    for (const MacroRecord& macro : m_model.macros.Records())
        keys.macroNames.emplace(macro.number, macro.Name());
    return keys;
}

int ModelEditor::ClearProfileKeys(int profile, std::span<const size_t> cleared)
{
    if (profile < 0 || profile >= device::kProfileCount)
        return 0;
    std::lock_guard lock(m_lock);
    for (const size_t slot : cleared) {
        if (slot < kSlotsPerBlock)
            m_model.image.Slot(SlotIndex(profile, slot)) = KeyAssignment{};
    }
    return 1;
}

int ModelEditor::ReloadFromCache()
{
    std::lock_guard lock(m_lock);
    return LoadProfileFile(CacheFilePath(), m_model) ? 1 : 0;
}

std::vector<MacroRecord> ModelEditor::CopyMacros() const
{
    std::lock_guard lock(m_lock);
    const std::span<const MacroRecord> records = m_model.macros.Records();
    std::vector<MacroRecord> copies(records.begin(), records.end());
    for (MacroRecord& copy : copies)
        copy.newFlag = 0;
    return copies;
}

bool ModelEditor::IsMacroAssigned(uint16_t number) const
{
    std::lock_guard lock(m_lock);
    for (size_t index = 0; index < kSlotCount; ++index) {
        const KeyAssignment& slot = m_model.image.Slot(index);
        if (slot.type == kTypeMacro && slot.value == number) {
            return true;
        }
    }
    return false;
}

int ModelEditor::CommitMacros(std::vector<MacroRecord> macros)
{
    if (macros.size() > kMaxMacros)
        return 0;
    std::lock_guard lock(m_lock);
    for (size_t index = 0; index < kSlotCount; ++index)
        RecheckMacroReference(m_model.image.Slot(index), macros);
    for (MacroRecord& macro : macros)
        macro.newFlag = 0;
    // At most 100, checked above: the store takes them.
    (void)m_model.macros.Assign(std::move(macros));
    return 1;
}

int ModelEditor::SaveToFile(const std::filesystem::path& path)
{
    std::lock_guard lock(m_lock);
    return SaveModelToFile(m_model, path) ? 1 : 0;
}

} // namespace tavrix::model
