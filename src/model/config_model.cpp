#include "model/config_model.h"

namespace tavrix::model {

bool HasMacro(const MacroStore& macros, uint32_t number)
{
    if (number == 0 || number > UINT16_MAX) {
        return false;
    }
    const size_t slot = macros.MacroSlotOf(static_cast<uint16_t>(number));
    return macros.MacroNumberAt(static_cast<int>(slot)) == number;
}

void ClearMissingMacroKeys(ConfigModel& model)
{
    for (ProfileBlock& block : model.image.blocks) {
        for (KeyAssignment& slot : block) {
            if (slot.type == kTypeMacro && !HasMacro(model.macros, slot.value)) {
                slot.type = kTypeDefault;
                slot.value = 0;
            }
        }
    }
}

} // namespace tavrix::model
