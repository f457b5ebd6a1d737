#include "model/key_table_codec.h"

#include <algorithm>

#include "model/key_catalogue.h"
#include "model/key_code.h"
#include "model/little_endian.h"
#include "model/media_keys.h"
#include "model/mouse_entries.h"

namespace tavrix::model {

namespace {

// What the keyboard sends for each mouse key: the one table both directions read.
struct MouseEntry {
    uint16_t code;
    uint8_t kind;
    uint8_t data;
};

constexpr std::array<MouseEntry, 5> kMouseEntries{{
    {0x171, kMouseButton, 0x01},
    {0x172, kMouseButton, 0x02},
    {0x173, kMouseButton, 0x04},
    {0x161, kMouseWheel, 0x01},
    {0x162, kMouseWheel, 0xFF},
}};

constexpr KeyEntry kNoOutput{kEntryNone, 0, 0};

uint16_t MouseKeyOf(uint8_t kind, uint8_t data)
{
    const auto mouse = std::find_if(kMouseEntries.begin(), kMouseEntries.end(),
                                    [=](const MouseEntry& m) { return m.kind == kind && m.data == data; });
    return mouse == kMouseEntries.end() ? kNoKey : mouse->code;
}

uint16_t Usage(const KeyEntry& entry)
{
    return Get16(entry, 1);
}

KeyEntry KeyEntryOf(uint32_t value)
{
    const uint16_t code = KeyOfSlotValue(value);
    if (const uint8_t bit = ModifierBitOf(code); bit != 0)
        return {kEntryKeyboard, kKeyboardModifier, bit};
    if (const std::optional<KeyEntry> mouse = MouseEntryOfKey(code))
        return *mouse;
    const ClassifiedKey classified = ClassifyKey(code);
    const uint8_t deviceCode = classified.keyClass == KeyClass::Keyboard ? classified.deviceCode : 0;
    return {kEntryKeyboard, kKeyboardKey, deviceCode};
}

// A macro the list does not have must not play the one in slot 0: the key keeps its default.
KeyEntry MacroEntryOf(uint32_t macroId, const KeyEntry& defaultEntry, const MacroSlotOf& macroSlotOf)
{
    const std::optional<size_t> slot = macroSlotOf ? macroSlotOf(macroId) : std::nullopt;
    if (!slot || *slot > 0xFF)
        return defaultEntry;
    return {kEntrySpecial, kSpecialMacro, static_cast<uint8_t>(*slot)};
}

KeyEntry EncodeSlot(const KeyAssignment& slot, const KeyEntry& defaultEntry, const MacroSlotOf& macroSlotOf)
{
    switch (slot.type) {
    case kTypeDisabled:
    case kTypeNoOutputWithText:
        return kNoOutput;
    case kTypeKey:
        return KeyEntryOf(slot.value);
    case kTypeMacro:
        return MacroEntryOf(slot.value, defaultEntry, macroSlotOf);
    case kTypeKeyboardSpecial:
        return {kEntrySpecial, kSpecialKeyboard, 0};
    case kTypeMedia: {
        // A media index from a damaged file must not reach past the list: keep the key as it is.
        if (slot.value >= MediaList.size())
            return defaultEntry;
        KeyEntry entry{kEntryConsumer};
        Put16(entry, 1, MediaList[slot.value].consumerUsage);
        return entry;
    }
    case kTypeFunction:
        return {kEntrySpecial, kSpecialFunction, static_cast<uint8_t>(slot.value & 0xFF)};
    default:
        // Default, default with text, and types this program does not know.
        return defaultEntry;
    }
}

// The slot an entry read from the keyboard stands for; type 1 (disabled) when nothing better fits.
KeyAssignment DecodeEntry(const KeyEntry& entry)
{
    KeyAssignment slot{.type = kTypeDisabled};
    const auto set = [&slot](uint16_t type, uint32_t value) {
        slot.type = type;
        slot.value = value;
    };
    switch (entry[0]) {
    case kEntrySpecial:
        if (entry[1] == kSpecialMacro)
            set(kTypeMacro, entry[2] + 1u);
        else if (entry[1] == kSpecialKeyboard)
            set(kTypeKeyboardSpecial, 0);
        else if (entry[1] == kSpecialFunction)
            set(kTypeFunction, entry[2]);
        break;
    case kEntryConsumer:
        if (const std::optional<size_t> media = MediaIndexOfUsage(Usage(entry)))
            set(kTypeMedia, static_cast<uint32_t>(*media));
        break;
    case kEntryMouse:
        set(kTypeKey, KeyFromEntry(entry));
        break;
    case kEntryKeyboard:
        if (const uint16_t code = KeyFromEntry(entry); code != kNoKey || entry[1] != kKeyboardKey)
            set(kTypeKey, code);
        break;
    default:
        break;
    }
    return slot;
}

} // namespace

std::optional<KeyEntry> MouseEntryOfKey(uint16_t code)
{
    const auto mouse = std::find_if(kMouseEntries.begin(), kMouseEntries.end(),
                                    [code](const MouseEntry& m) { return m.code == code; });
    if (mouse == kMouseEntries.end())
        return std::nullopt;
    return KeyEntry{kEntryMouse, mouse->kind, mouse->data};
}

KeyEntry EntryAt(const KeyTable& table, size_t position)
{
    if (position >= kKeyTablePositions)
        return kNoOutput;
    const size_t offset = position * kKeyEntrySize;
    return {table[offset], table[offset + 1], table[offset + 2]};
}

void SetEntry(KeyTable& table, size_t position, const KeyEntry& entry)
{
    if (position >= kKeyTablePositions)
        return;
    std::copy(entry.begin(), entry.end(), table.begin() + static_cast<std::ptrdiff_t>(position * kKeyEntrySize));
}

uint16_t KeyFromEntry(const KeyEntry& entry)
{
    switch (entry[0]) {
    case kEntryMouse:
        return MouseKeyOf(entry[1], entry[2]);
    case kEntryKeyboard:
        if (entry[1] == kKeyboardKey)
            return KeyFromClass(KeyClass::Keyboard, entry[2]);
        return ModifierKeyOf(entry[2]);
    case kEntryConsumer:
        return KeyFromClass(KeyClass::Consumer, Usage(entry));
    case kEntrySystemControl:
        return KeyFromClass(KeyClass::SystemControl, Usage(entry));
    default:
        return kNoKey;
    }
}

KeyTable EncodeProfileKeyTable(const ProfileBlock& block, const KeyTable& defaultTable, const MacroSlotOf& macroSlotOf)
{
    KeyTable table = defaultTable;
    for (size_t position = 0; position < kKeyTablePositions; ++position) {
        const KeyEntry defaultEntry = EntryAt(defaultTable, position);
        const size_t index = KeyIndexOf(KeyFromEntry(defaultEntry));
        if (index == 0)
            continue;
        SetEntry(table, position, EncodeSlot(block[index], defaultEntry, macroSlotOf));
    }
    return table;
}

ProfileBlock DecodeProfileKeyTable(const KeyTable& table, const KeyTable& defaultTable)
{
    ProfileBlock block;
    ClearProfileBlock(block);
    for (size_t position = 0; position < kKeyTablePositions; ++position) {
        const KeyEntry entry = EntryAt(table, position);
        const KeyEntry defaultEntry = EntryAt(defaultTable, position);
        if (entry == defaultEntry)
            continue;
        const size_t index = KeyIndexOf(KeyFromEntry(defaultEntry));
        if (index == 0)
            continue;
        block[index] = DecodeEntry(entry);
    }
    return block;
}

} // namespace tavrix::model
