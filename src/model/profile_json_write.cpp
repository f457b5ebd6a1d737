#include <cstdio>
#include <new>
#include <span>

#include "model/key_catalogue.h"
#include "model/key_code.h"
#include "model/key_identifiers.h"
#include "model/media_keys.h"
#include "model/profile_json.h"
#include "model/profile_json_schema.h"

// Writes the model as JSON: everything that differs from an empty model, by name where a name
// exists and by number otherwise.
namespace tavrix::model {

using namespace json_profile;

namespace {

// A key by its identifier, or by its code when it has none.
Json KeyJson(uint16_t code)
{
    const std::string_view identifier = KeyIdentifier(code);
    return identifier.empty() ? Json(code) : Json(std::string(identifier));
}

// A UTF-16 text as a string, or unit by unit under the units member when it is not well-formed.
void PutText(Json& object, const char* member, const char* unitsMember, std::u16string_view text)
{
    if (const std::optional<std::string> utf8 = ExactUtf8(text)) {
        object[member] = *utf8;
        return;
    }
    Json units = Json::array();
    for (const char16_t unit : text)
        units.push_back(static_cast<uint16_t>(unit));
    object[unitsMember] = std::move(units);
}

// The value of a slot, by what its type makes of it.
void PutSlotValue(Json& object, const KeyAssignment& slot, const std::u16string* text)
{
    const uint32_t value = slot.value;
    switch (slot.type) {
    case kTypeKey:
        if (value <= UINT16_MAX) {
            object[kKey] = KeyJson(static_cast<uint16_t>(value));
            return;
        }
        break;
    case kTypeMacro:
        object[kMacro] = value;
        return;
    case kTypeMedia:
        if (value < MediaList.size()) {
            object[kMedia] = std::string(MediaIdentifier(value));
            return;
        }
        break;
    case kTypeFunction:
        if (value < FunctionList.size()) {
            object[kFunction] = std::string(FunctionIdentifier(value));
            return;
        }
        break;
    case kTypeDefaultWithText:
    case kTypeNoOutputWithText:
        // The value is where the file's text pool keeps the text: the text itself stands for it.
        PutText(object, kText, kTextUnits, text ? std::u16string_view(*text) : std::u16string_view());
        return;
    default:
        break;
    }
    if (value != 0)
        object[kValue] = value;
}

Json SlotJson(const KeyAssignment& slot, const KeyAssignment& baseline, const std::u16string* text)
{
    Json object = Json::object();
    const std::string_view typeName = TypeName(slot.type);
    object[kType] = typeName.empty() ? Json(slot.type) : Json(std::string(typeName));
    PutSlotValue(object, slot, text);
    if (slot.gKeyCode != baseline.gKeyCode)
        object[kGKeyCode] = slot.gKeyCode;
    if (slot.lampFlag != 0)
        object[kLampFlag] = slot.lampFlag;
    if (slot.reserved != 0)
        object[kReserved] = slot.reserved;
    return object;
}

// The name a key slot goes by in "keys"; empty for slots of keys without an identifier.
std::string_view SlotKeyName(size_t slot)
{
    return slot < kKeyIndexCount ? KeyIdentifier(KeyCatalogue()[slot].code) : std::string_view();
}

Json BlockJson(const ModelImage& image, const EntryTexts& texts, size_t block)
{
    const ProfileBlock& slots = image.blocks[block];
    const ProfileBlock& baseline = BaselineBlock(block);
    const auto slotJson = [&](size_t slot) {
        return SlotJson(slots[slot], baseline[slot], texts.Text(block * kSlotsPerBlock + slot));
    };
    Json keys = Json::object();
    Json gKeys = Json::object();
    Json others = Json::object();
    for (size_t slot = 0; slot < kKeyIndexCount; ++slot) {
        if (slots[slot] == baseline[slot])
            continue;
        if (const std::string_view name = SlotKeyName(slot); !name.empty())
            keys[std::string(name)] = slotJson(slot);
        else
            others[std::to_string(slot)] = slotJson(slot);
    }
    for (size_t bank = 0; bank < kBankNames.size(); ++bank) {
        for (size_t position = 0; position < kGKeyCount; ++position) {
            const size_t slot = GKeySlot(static_cast<GKeyBank>(bank), position);
            if (slots[slot] != baseline[slot])
                gKeys[kBankNames[bank]]["G" + std::to_string(position + 1)] = slotJson(slot);
        }
    }
    for (size_t slot = kGKeySlotEnd; slot < kSlotsPerBlock; ++slot) {
        if (slots[slot] != baseline[slot])
            others[std::to_string(slot)] = slotJson(slot);
    }
    Json object = Json::object();
    for (auto& [member, value] : {std::pair{kKeys, &keys}, {kGKeys, &gKeys}, {kOtherSlots, &others}}) {
        if (!value->empty())
            object[member] = std::move(*value);
    }
    return object;
}

Json ActionJson(const MacroAction& action)
{
    Json object = Json::object();
    object[kKey] = KeyJson(action.keyCode);
    if (action.direction == kMacroPress)
        object[kDirection] = kPress;
    else if (action.direction == kMacroRelease)
        object[kDirection] = kRelease;
    else
        object[kDirection] = action.direction;
    object[kDelay] = action.delay;
    return object;
}

Json MacroJson(const MacroRecord& macro, const std::string& place)
{
    Json object = Json::object();
    object[kNumber] = macro.number;
    const std::u16string name = macro.Name();
    PutText(object, kName, kNameUnits, name);
    object[kRepeat] = macro.repeatCount;
    Json actions = Json::array();
    for (const MacroAction& action : macro.UsedActions()) {
        if (action.delay > kMaxMacroDelayMs) {
            const std::string at = PointerTo(PointerTo(PointerTo(place, kActions), actions.size()), kDelay);
            throw Refusal{at, "a delay of " + std::to_string(action.delay) + " ms is longer than the keyboard plays (" +
                                  std::to_string(kMaxMacroDelayMs) + " ms)"};
        }
        actions.push_back(ActionJson(action));
    }
    object[kActions] = std::move(actions);

    // The rest of the record, where it is not zero: what follows the name in its field, the flags
    // and reserved words, and action slots past the count.
    const bool tailUsed = std::any_of(macro.name.begin() + static_cast<std::ptrdiff_t>(name.size()), macro.name.end(),
                                      [](char16_t unit) { return unit != 0; });
    if (tailUsed) {
        Json tail = Json::array();
        for (size_t i = name.size(); i < macro.name.size(); ++i)
            tail.push_back(static_cast<uint16_t>(macro.name[i]));
        object[kNameTail] = std::move(tail);
    }
    for (const auto& [member, value] : {std::pair{kNewFlag, macro.newFlag},
                                        {kPlayMode, macro.playMode},
                                        {kReserved1, uint16_t{macro.reserved1}},
                                        {kReserved2, macro.reserved2}}) {
        if (value != 0)
            object[member] = value;
    }
    Json unused = Json::object();
    for (size_t i = macro.UsedActions().size(); i < macro.actions.size(); ++i) {
        if (macro.actions[i] != MacroAction{})
            unused[std::to_string(i)] = ActionJson(macro.actions[i]);
    }
    if (!unused.empty())
        object[kUnusedActions] = std::move(unused);
    return object;
}

std::string HexOf(std::span<const uint8_t> bytes)
{
    std::string hex;
    for (const uint8_t byte : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", byte);
        hex += digits;
    }
    return hex;
}

// The effect by its identifier, the named bytes and colours always, other bytes where not zero.
Json LightingJson(const LightingBlock& block)
{
    Json object = Json::object();
    const uint8_t effect = block[kEffectOffset];
    const std::string_view identifier = EffectIdentifier(effect);
    object[kEffect] = identifier.empty() ? Json(effect) : Json(std::string(identifier));
    for (const LightingByteName& byte : kLightingBytes)
        object[byte.name] = block[byte.offset];
    Json colours = Json::array();
    for (const size_t offset : kColourOffsets)
        colours.push_back(HexOf(std::span(block).subspan(offset, 3)));
    object[kColours] = std::move(colours);
    Json others = Json::object();
    for (size_t offset = 0; offset < block.size(); ++offset) {
        if (IsOtherLightingByte(offset) && block[offset] != 0)
            others[std::to_string(offset)] = block[offset];
    }
    if (!others.empty())
        object[kOtherBytes] = std::move(others);
    return object;
}

Json DocumentJson(const ConfigModel& model, const ProfileLighting& lighting)
{
    Json document = Json::object();
    document[kFormat] = kProfileJsonFormat;
    document[kVersion] = kProfileJsonVersion;
    const ProfileFileHeader& header = model.image.header;
    Json headerJson = Json::object();
    for (const auto& [member, value] :
         {std::pair{kReserved1, header.reserved1}, {kReserved2, header.reserved2}, {kReserved3, header.reserved3}}) {
        if (value != 0)
            headerJson[member] = value;
    }
    if (!headerJson.empty())
        document[kHeader] = std::move(headerJson);
    if (model.image.description != kDeviceDescription)
        document[kDescription] = HexOf(model.image.description);

    Json profiles = Json::array();
    for (size_t block = 0; block < kKeyboardBlocks; ++block) {
        Json profile = BlockJson(model.image, model.texts, block);
        if (lighting[block])
            profile[kLighting] = LightingJson(*lighting[block]);
        profiles.push_back(std::move(profile));
    }
    document[kProfiles] = std::move(profiles);
    if (Json spare = BlockJson(model.image, model.texts, kSpareBlockIndex); !spare.empty())
        document[kSpareBlock] = std::move(spare);

    Json macros = Json::array();
    for (const MacroRecord& macro : model.macros.Records())
        macros.push_back(MacroJson(macro, PointerTo(std::string("/") + kMacros, macros.size())));
    document[kMacros] = std::move(macros);
    return document;
}

bool IsFlat(const Json& value)
{
    return std::none_of(value.begin(), value.end(), [](const Json& member) { return member.is_structured(); });
}

// Objects and arrays of plain values on one line, everything else one member per line: a key, a
// macro action or a list of units reads as one line of the file.
void Print(const Json& value, size_t indent, std::string& out)
{
    const bool object = value.is_object();
    if (!value.is_structured() || IsFlat(value)) {
        if (!value.is_structured() || value.empty()) {
            out += value.dump();
            return;
        }
        out += object ? "{" : "[";
        for (auto member = value.begin(); member != value.end(); ++member) {
            if (member != value.begin())
                out += ", ";
            if (object)
                out += Json(member.key()).dump() + ": ";
            out += member->dump();
        }
        out += object ? "}" : "]";
        return;
    }
    out += object ? "{\n" : "[\n";
    for (auto member = value.begin(); member != value.end(); ++member) {
        out.append(indent + 2, ' ');
        if (object)
            out += Json(member.key()).dump() + ": ";
        Print(*member, indent + 2, out);
        out += std::next(member) == value.end() ? "\n" : ",\n";
    }
    out.append(indent, ' ');
    out += object ? "}" : "]";
}

} // namespace

std::string ProfileJsonError::Message() const
{
    return place.empty() ? reason : place + ": " + reason;
}

bool EncodeProfileJson(const ConfigModel& model, const ProfileLighting& lighting, std::string& text,
                       ProfileJsonError& error)
{
    try {
        std::string out;
        Print(DocumentJson(model, lighting), 0, out);
        out += '\n';
        text = std::move(out);
        return true;
    } catch (const Refusal& refusal) {
        error = {refusal.place, refusal.reason};
    } catch (const std::bad_alloc&) {
        error = {{}, "out of memory"};
    }
    return false;
}

} // namespace tavrix::model
