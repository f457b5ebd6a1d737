#include "model/key_description.h"

#include <algorithm>

#include "model/key_code.h"
#include "model/media_keys.h"
#include "model/text_format.h"

namespace tavrix::model {

namespace {

std::u16string MacroName(uint32_t macroId, const MacroNameOf& macroNameOf)
{
    if (!macroNameOf)
        return {};
    return macroNameOf(macroId).value_or(std::u16string());
}

// What an assigned key does, after the key's own name.
std::u16string AssignmentText(const KeyAssignment& slot, const TextLookup& lookup, const MacroNameOf& macroNameOf)
{
    std::u16string text = lookup("KEY_PROMPT_SET");
    switch (slot.type) {
    case kTypeKey:
        return text + lookup("KEY_PROMPT_SINGLE") + KeyName(KeyOfSlotValue(slot.value), lookup) + u")";
    case kTypeMacro:
        return text + lookup("KEY_PROMPT_MACRO") + MacroName(slot.value, macroNameOf) + u")";
    case kTypeMedia: {
        const std::u16string name = slot.value < MediaList.size() ? KeyName(MediaList[slot.value].code, lookup) : u"";
        return text + lookup("KEY_PROMPT_MEDIA") + name + u")";
    }
    case kTypeFunction: {
        const std::u16string name = slot.value < FunctionList.size() ? lookup(FunctionList[slot.value]) : u"";
        return text + lookup("KEY_PROMPT_FUNCTION") + name + u")";
    }
    default:
        return text;
    }
}

std::u16string Describe(std::u16string name, const KeyAssignment& slot, const TextLookup& lookup,
                        const MacroNameOf& macroNameOf)
{
    if (slot.type != kTypeDefault)
        name += AssignmentText(slot, lookup, macroNameOf);
    name.resize(std::min(name.size(), kTextCapacity - 1));
    return name;
}

} // namespace

std::u16string KeyDescription(uint16_t code, const KeyAssignment& slot, const TextLookup& lookup,
                              const MacroNameOf& macroNameOf)
{
    return Describe(KeyName(code, lookup), slot, lookup, macroNameOf);
}

std::u16string KeyDescription(GKeyPosition key, const KeyAssignment& slot, const TextLookup& lookup,
                              const MacroNameOf& macroNameOf)
{
    return Describe(FormatNumber(u"G%d", static_cast<uint32_t>(key.position + 1)), slot, lookup, macroNameOf);
}

} // namespace tavrix::model
