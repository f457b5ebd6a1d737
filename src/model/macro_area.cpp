#include "model/macro_area.h"

#include <algorithm>
#include <optional>
#include <string>

#include "model/key_catalogue.h"
#include "model/key_table_codec.h"
#include "model/little_endian.h"
#include "model/mouse_entries.h"

namespace tavrix::model {

namespace {

constexpr size_t kMagicOffset = 0;
constexpr size_t kTotalOffset = 2;
constexpr size_t kCountOffset = 4;
constexpr size_t kNamesFlagOffset = 6;
constexpr size_t kOffsetTableOffset = kMacroAreaHeaderSize;

constexpr size_t kRecordHeaderSize = 4; // action count, repeat count, name length
constexpr size_t kAreaActionSize = 4;

// First word of an area action: delay in 10 ms steps, the entry family of the key, press bit.
constexpr uint16_t kDelayMask = 0x0FFF;
constexpr unsigned kClassShift = 12;
constexpr uint16_t kClassMask = 0x7;
constexpr uint16_t kPressBit = 0x8000;
constexpr uint32_t kDelayStepMs = 10;
static_assert(kMaxMacroDelayMs == kDelayMask * kDelayStepMs);

size_t RecordSize(const MacroRecord& record, bool includeNames)
{
    const size_t nameBytes = includeNames ? record.Name().size() * sizeof(char16_t) : 0;
    return kRecordHeaderSize + record.UsedActions().size() * kAreaActionSize + nameBytes;
}

// What an action's key looks like in the area: the family and two data bytes of the key-table
// entry that sends it.
KeyEntry ActionEntryOf(uint16_t code)
{
    const ClassifiedKey key = ClassifyKey(code);
    switch (key.keyClass) {
    case KeyClass::Keyboard:
        if (const uint8_t bit = ModifierBitOf(code); bit != 0)
            return {kEntryKeyboard, kKeyboardModifier, bit};
        return {kEntryKeyboard, kKeyboardKey, key.deviceCode};
    case KeyClass::SystemControl:
        return {kEntrySystemControl, key.deviceCode, 0};
    case KeyClass::Mouse:
        return MouseEntryOfKey(code).value_or(KeyEntry{kEntryMouse, 0, 0});
    default:
        return {kEntryNone, 0, 0};
    }
}

void EncodeAction(const MacroAction& action, std::span<uint8_t> out)
{
    const KeyEntry entry = ActionEntryOf(action.keyCode);
    uint16_t word = static_cast<uint16_t>(std::min<uint32_t>(action.delay / kDelayStepMs, kDelayMask));
    word |= static_cast<uint16_t>(entry[0] << kClassShift);
    if (action.direction != kMacroRelease)
        word |= kPressBit;
    Put16(out, 0, word);
    out[2] = entry[1];
    out[3] = entry[2];
}

MacroAction DecodeAction(std::span<const uint8_t> in)
{
    const uint16_t word = Get16(in, 0);
    MacroAction action;
    action.delay = (word & kDelayMask) * kDelayStepMs;
    action.keyCode = KeyFromEntry({static_cast<uint8_t>((word >> kClassShift) & kClassMask), in[2], in[3]});
    action.direction = (word & kPressBit) ? kMacroPress : kMacroRelease;
    return action;
}

// A record that lies whole inside the area and within the limits, not yet decoded.
struct FoundRecord {
    size_t slot = 0;
    uint16_t actionCount = 0;
    uint8_t repeatCount = 0;
    std::span<const uint8_t> actions;
    std::span<const uint8_t> name;
};

std::optional<FoundRecord> FindRecord(std::span<const uint8_t> area, size_t offset, size_t slot)
{
    ByteReader reader(area, offset);
    FoundRecord found{.slot = slot};
    uint8_t nameLength = 0;
    if (!reader.Read16(found.actionCount) || found.actionCount > kMaxMacroActions || !reader.Read8(found.repeatCount) ||
        !reader.Read8(nameLength) || !reader.ReadBytes(found.actionCount * kAreaActionSize, found.actions) ||
        !reader.ReadBytes(nameLength * sizeof(char16_t), found.name))
        return std::nullopt;
    return found;
}

void DecodeRecord(const FoundRecord& found, const TextLookup& lookup, MacroRecord& record)
{
    record.number = static_cast<uint16_t>(found.slot + 1);
    record.repeatCount = found.repeatCount;
    record.actionCount = found.actionCount;
    for (size_t i = 0; i < found.actionCount; ++i)
        record.actions[i] = DecodeAction(found.actions.subspan(i * kAreaActionSize, kAreaActionSize));
    if (found.name.empty()) {
        const std::string digits = std::to_string(record.number);
        std::u16string text = lookup ? lookup("MACRO_NEW_PREFIX") : std::u16string();
        text.append(digits.begin(), digits.end());
        record.SetName(text);
        return;
    }
    std::u16string text;
    for (size_t i = 0; i < found.name.size(); i += sizeof(char16_t))
        text.push_back(static_cast<char16_t>(Get16(found.name, i)));
    record.SetName(text);
}

} // namespace

MacroAreaSize MacroAreaSizes(std::span<const MacroRecord> macros)
{
    MacroAreaSize size;
    size.withoutNames = size.withNames = kMacroAreaHeaderSize + macros.size() * sizeof(uint16_t);
    for (const MacroRecord& record : macros) {
        size.withoutNames += RecordSize(record, false);
        size.withNames += RecordSize(record, true);
    }
    return size;
}

bool EncodeMacroArea(std::span<const MacroRecord> macros, std::span<uint8_t> area, bool includeNames)
{
    const MacroAreaSize sizes = MacroAreaSizes(macros);
    const size_t size = includeNames ? sizes.withNames : sizes.withoutNames;
    if (macros.size() > kMaxMacros || area.size() != size || size > kMaxMacroAreaSize)
        return false;

    std::fill(area.begin(), area.end(), 0);
    Put16(area, kMagicOffset, kMacroAreaMagic);
    Put16(area, kTotalOffset, static_cast<uint16_t>(size));
    Put16(area, kCountOffset, static_cast<uint16_t>(macros.size()));
    Put16(area, kNamesFlagOffset, includeNames ? 1 : 0);
    size_t offset = kOffsetTableOffset + macros.size() * sizeof(uint16_t);
    for (size_t slot = 0; slot < macros.size(); ++slot) {
        const MacroRecord& record = macros[slot];
        const std::span<const MacroAction> actions = record.UsedActions();
        const std::u16string name = includeNames ? record.Name() : std::u16string();
        Put16(area, kOffsetTableOffset + slot * sizeof(uint16_t), static_cast<uint16_t>(offset));
        Put16(area, offset, static_cast<uint16_t>(actions.size()));
        area[offset + 2] = record.repeatCount;
        area[offset + 3] = static_cast<uint8_t>(name.size());
        offset += kRecordHeaderSize;
        for (const MacroAction& action : actions) {
            EncodeAction(action, area.subspan(offset, kAreaActionSize));
            offset += kAreaActionSize;
        }
        for (const char16_t unit : name) {
            Put16(area, offset, static_cast<uint16_t>(unit));
            offset += sizeof(char16_t);
        }
    }
    return true;
}

std::optional<size_t> MacroAreaClaimedSize(std::span<const uint8_t> header)
{
    ByteReader reader(header, kMagicOffset);
    uint16_t magic = 0;
    uint16_t total = 0;
    if (!reader.Read16(magic) || magic != kMacroAreaMagic || !reader.Read16(total))
        return std::nullopt;
    return total;
}

std::vector<MacroRecord> DecodeMacroArea(std::span<const uint8_t> area, const TextLookup& lookup)
{
    const std::optional<size_t> total = MacroAreaClaimedSize(area);
    ByteReader header(area, kCountOffset);
    uint16_t claimed = 0;
    if (!total || !header.Read16(claimed))
        return {};
    // Records must lie inside both the buffer and the length the header claims.
    const std::span<const uint8_t> bounded = area.first(std::min(*total, area.size()));
    const size_t count = std::min<size_t>(claimed, kMaxMacros);
    std::vector<FoundRecord> found;
    found.reserve(count);
    for (size_t slot = 0; slot < count; ++slot) {
        ByteReader table(bounded, kOffsetTableOffset + slot * sizeof(uint16_t));
        uint16_t offset = 0;
        if (!table.Read16(offset))
            break;
        if (const std::optional<FoundRecord> record = FindRecord(bounded, offset, slot))
            found.push_back(*record);
    }
    // Records are large (16 KiB): made at once, only for those found, and decoded in place.
    std::vector<MacroRecord> macros(found.size());
    for (size_t i = 0; i < found.size(); ++i)
        DecodeRecord(found[i], lookup, macros[i]);
    return macros;
}

} // namespace tavrix::model
