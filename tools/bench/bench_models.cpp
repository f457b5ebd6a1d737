#include "bench_models.h"

#include <string>

#include "model/key_code.h"

namespace tavrix::bench {

namespace {

constexpr uint16_t kLetterKeys[] = {0x01E, 0x030, 0x02E, 0x020, 0x012, 0x021};
constexpr uint16_t kRemappedKey = 0x01E;
constexpr uint16_t kMacroKey = 0x030;
constexpr uint16_t kTextKey = 0x02E;
// 100 macros of 30 actions and 9-character names take 14416 bytes of the factory keyboard's
// 16384-byte extra area.
constexpr std::size_t kKeyboardMacroActions = 30;
constexpr std::size_t kKeyboardMacroNameLength = 9;

} // namespace

std::vector<model::MacroRecord> MakeMacros(std::size_t count, std::size_t actions, std::size_t nameLength)
{
    std::vector<model::MacroRecord> macros(count);
    for (std::size_t i = 0; i < count; ++i) {
        model::MacroRecord& macro = macros[i];
        macro.number = static_cast<uint16_t>(i + 1);
        const std::string digits = std::to_string(i + 1);
        std::u16string name(digits.begin(), digits.end());
        name.resize(nameLength, u'm');
        macro.SetName(name);
        macro.actionCount = static_cast<uint16_t>(actions);
        for (std::size_t k = 0; k < actions; ++k) {
            macro.actions[k] = {static_cast<uint32_t>(10 * (k % 50 + 1)), kLetterKeys[(k / 2) % std::size(kLetterKeys)],
                                k % 2 ? model::kMacroRelease : model::kMacroPress};
        }
    }
    return macros;
}

model::ConfigModel LargestModel()
{
    model::ConfigModel config;
    static_cast<void>(
        config.macros.Assign(MakeMacros(model::kMaxMacros, model::kMaxMacroActions, model::kMaxMacroNameLength)));
    for (std::size_t block = 0; block < model::kProfileBlockCount; ++block) {
        model::ProfileBlock& slots = config.image.blocks[block];
        slots[model::KeyIndexOf(kRemappedKey)] = {model::kTypeKey, 0, kMacroKey};
        slots[model::KeyIndexOf(kMacroKey)] = {model::kTypeMacro, 0, static_cast<uint32_t>(block + 1)};
        const std::size_t textSlot = block * model::kSlotsPerBlock + model::KeyIndexOf(kTextKey);
        config.image.Slot(textSlot) = {model::kTypeDefaultWithText};
        config.texts.Set(textSlot, u"a key with a text of its own");
    }
    return config;
}

std::vector<model::MacroRecord> KeyboardMacros()
{
    return MakeMacros(model::kMaxMacros, kKeyboardMacroActions, kKeyboardMacroNameLength);
}

} // namespace tavrix::bench
