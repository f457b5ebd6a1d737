#include <algorithm>
#include <cctype>
#include <charconv>
#include <initializer_list>
#include <limits>
#include <memory>
#include <new>
#include <span>

#include "model/key_catalogue.h"
#include "model/key_code.h"
#include "model/key_identifiers.h"
#include "model/profile_file.h"
#include "model/profile_json.h"
#include "model/profile_json_schema.h"
#include "platform/utf.h"

// Reads a JSON profile as untrusted input: every member is checked against what the profile file
// can hold, and the first fault is refused with its place.
namespace tavrix::model {

using namespace json_profile;

namespace {

// The largest text pool a file of 100 macros can still count in its 32-bit total size.
constexpr uint64_t kMaxTextPoolBytes = UINT32_MAX - ProfileFileSize(kMaxMacros, 0);

[[noreturn]] void Refuse(const std::string& place, const std::string& reason)
{
    throw Refusal{place, reason};
}

std::string Quoted(std::string_view text)
{
    return Json(std::string(text)).dump();
}

void ExpectObject(const Json& value, const std::string& place)
{
    if (!value.is_object())
        Refuse(place, "must be an object");
}

void ExpectArray(const Json& value, const std::string& place)
{
    if (!value.is_array())
        Refuse(place, "must be an array");
}

// Refuses any member the object may not have: a misspelt name would otherwise be lost silently.
void ExpectMembers(const Json& object, const std::string& place, std::initializer_list<std::string_view> allowed)
{
    ExpectObject(object, place);
    for (auto member = object.begin(); member != object.end(); ++member) {
        if (std::find(allowed.begin(), allowed.end(), member.key()) == allowed.end())
            Refuse(PointerTo(place, member.key()), "unknown member " + Quoted(member.key()));
    }
}

const Json* Find(const Json& object, const char* member)
{
    const auto found = object.find(member);
    return found == object.end() ? nullptr : &*found;
}

const Json& Require(const Json& object, const std::string& place, const char* member)
{
    const Json* value = Find(object, member);
    if (value == nullptr)
        Refuse(PointerTo(place, member), "is missing");
    return *value;
}

uint64_t Unsigned(const Json& value, const std::string& place, uint64_t max)
{
    if (!value.is_number_integer())
        Refuse(place, "must be a whole number");
    if (!value.is_number_unsigned() || value.get<uint64_t>() > max)
        Refuse(place, value.dump() + " is out of range 0.." + std::to_string(max));
    return value.get<uint64_t>();
}

template <typename Field>
void ReadOptional(const Json& object, const std::string& place, const char* member, Field& field)
{
    if (const Json* value = Find(object, member))
        field = static_cast<Field>(Unsigned(*value, PointerTo(place, member), std::numeric_limits<Field>::max()));
}

// The member name as a number below limit, written in plain decimal digits.
std::optional<size_t> IndexOfName(std::string_view name, size_t limit)
{
    size_t index = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), index);
    if (error != std::errc() || end != name.data() + name.size() || name.empty() || (name.size() > 1 && name[0] == '0'))
        return std::nullopt;
    return index < limit ? std::optional<size_t>(index) : std::nullopt;
}

// The bytes a string of exactly 2 × out.size() hexadecimal digits spells; false for anything else.
bool ReadHex(const Json& value, std::span<uint8_t> out)
{
    const auto isHex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    if (!value.is_string())
        return false;
    const std::string& hex = value.get_ref<const std::string&>();
    if (hex.size() != 2 * out.size() || !std::all_of(hex.begin(), hex.end(), isHex))
        return false;
    for (size_t i = 0; i < out.size(); ++i)
        std::from_chars(hex.data() + 2 * i, hex.data() + 2 * i + 2, out[i], 16);
    return true;
}

// A text of UTF-16 units, from a string or an array of units; never with a terminator inside.
std::u16string ReadText(const Json& object, const std::string& place, const char* member, const char* unitsMember,
                        size_t maxUnits)
{
    const Json* text = Find(object, member);
    const Json* units = Find(object, unitsMember);
    if (text != nullptr && units != nullptr)
        Refuse(PointerTo(place, unitsMember), "give either " + Quoted(member) + " or " + Quoted(unitsMember));
    std::u16string result;
    std::string at = PointerTo(place, member);
    if (text != nullptr) {
        if (!text->is_string())
            Refuse(at, "must be a string");
        result = platform::Utf8ToUtf16(text->get_ref<const std::string&>());
    } else if (units != nullptr) {
        at = PointerTo(place, unitsMember);
        ExpectArray(*units, at);
        for (size_t i = 0; i < units->size(); ++i)
            result.push_back(static_cast<char16_t>(Unsigned((*units)[i], PointerTo(at, i), UINT16_MAX)));
    }
    if (result.find(u'\0') != std::u16string::npos)
        Refuse(at, "must not contain a NUL character");
    if (result.size() > maxUnits)
        Refuse(at, "is longer than " + std::to_string(maxUnits) + " UTF-16 units");
    return result;
}

uint16_t ReadKeyCode(const Json& value, const std::string& place)
{
    if (!value.is_string())
        return static_cast<uint16_t>(Unsigned(value, place, UINT16_MAX));
    const std::string& name = value.get_ref<const std::string&>();
    const uint16_t code = KeyOfIdentifier(name);
    if (code == kNoKey)
        Refuse(place, "unknown key name " + Quoted(name));
    return code;
}

template <typename Lookup>
uint32_t ReadNamed(const Json& value, const std::string& place, const char* what, Lookup lookup)
{
    if (!value.is_string())
        Refuse(place, std::string("must be the name of a ") + what);
    const std::string& name = value.get_ref<const std::string&>();
    const std::optional<size_t> index = lookup(name);
    if (!index)
        Refuse(place, std::string("unknown ") + what + " name " + Quoted(name));
    return static_cast<uint32_t>(*index);
}

uint16_t ReadType(const Json& object, const std::string& place)
{
    const Json& type = Require(object, place, kType);
    const std::string at = PointerTo(place, kType);
    if (!type.is_string())
        return static_cast<uint16_t>(Unsigned(type, at, UINT16_MAX));
    const std::optional<uint16_t> known = TypeOfName(type.get_ref<const std::string&>());
    if (!known)
        Refuse(at, "unknown slot type " + type.dump());
    return *known;
}

// The member that carries a slot's value for its type, besides the plain "value".
const char* ValueMemberOf(uint16_t type)
{
    switch (type) {
    case kTypeKey:
        return kKey;
    case kTypeMacro:
        return kMacro;
    case kTypeMedia:
        return kMedia;
    case kTypeFunction:
        return kFunction;
    default:
        return kValue;
    }
}

uint32_t ReadSlotValue(const Json& object, const std::string& place, uint16_t type)
{
    const char* member = ValueMemberOf(type);
    const Json* named = Find(object, member);
    const Json* plain = Find(object, kValue);
    if (named != nullptr && plain != nullptr && named != plain)
        Refuse(PointerTo(place, kValue), "give either " + Quoted(member) + " or " + Quoted(kValue));
    if (named == nullptr)
        return plain == nullptr ? 0 : static_cast<uint32_t>(Unsigned(*plain, PointerTo(place, kValue), UINT32_MAX));
    const std::string at = PointerTo(place, member);
    switch (type) {
    case kTypeKey:
        return ReadKeyCode(*named, at);
    case kTypeMedia:
        return ReadNamed(*named, at, "media key", MediaOfIdentifier);
    case kTypeFunction:
        return ReadNamed(*named, at, "function", FunctionOfIdentifier);
    default:
        return static_cast<uint32_t>(Unsigned(*named, at, UINT32_MAX));
    }
}

class Reader {
public:
    Reader(ConfigModel& model, ProfileLighting& lighting) : m_model(model), m_lighting(lighting) {}

    void Read(const Json& document)
    {
        ExpectMembers(document, "", {kFormat, kVersion, kHeader, kDescription, kProfiles, kSpareBlock, kMacros});
        const Json& format = Require(document, "", kFormat);
        if (format != kProfileJsonFormat)
            Refuse(PointerTo("", kFormat), "must be " + Quoted(kProfileJsonFormat));
        const uint64_t version = Unsigned(Require(document, "", kVersion), PointerTo("", kVersion), UINT32_MAX);
        if (version != kProfileJsonVersion)
            Refuse(PointerTo("", kVersion), "version " + std::to_string(version) + " is not read by this program (" +
                                                std::to_string(kProfileJsonVersion) + " is)");
        if (const Json* header = Find(document, kHeader))
            ReadHeader(*header, PointerTo("", kHeader));
        if (const Json* description = Find(document, kDescription))
            ReadDescription(*description, PointerTo("", kDescription));

        const std::string profilesAt = PointerTo("", kProfiles);
        const Json& profiles = Require(document, "", kProfiles);
        ExpectArray(profiles, profilesAt);
        if (profiles.size() != kKeyboardBlocks)
            Refuse(profilesAt, "must hold the keyboard's " + std::to_string(kKeyboardBlocks) + " profiles");
        for (size_t block = 0; block < kKeyboardBlocks; ++block)
            ReadBlock(profiles[block], PointerTo(profilesAt, block), block);
        m_model.image.blocks[kSpareBlockIndex] = BaselineBlock(kSpareBlockIndex);
        if (const Json* spare = Find(document, kSpareBlock))
            ReadBlock(*spare, PointerTo("", kSpareBlock), kSpareBlockIndex);
        if (const Json* macros = Find(document, kMacros))
            ReadMacros(*macros, PointerTo("", kMacros));
    }

private:
    void ReadHeader(const Json& header, const std::string& place)
    {
        ExpectMembers(header, place, {kReserved1, kReserved2, kReserved3});
        ProfileFileHeader& fields = m_model.image.header;
        ReadOptional(header, place, kReserved1, fields.reserved1);
        ReadOptional(header, place, kReserved2, fields.reserved2);
        ReadOptional(header, place, kReserved3, fields.reserved3);
    }

    void ReadDescription(const Json& description, const std::string& place)
    {
        DeviceDescription bytes{};
        if (!ReadHex(description, bytes))
            Refuse(place, "must be " + std::to_string(kDeviceDescriptionSize) + " bytes in hexadecimal");
        m_model.image.description = bytes;
    }

    void ReadBlock(const Json& object, const std::string& place, size_t block)
    {
        // Only the keyboard's profiles have lighting.
        if (block == kSpareBlockIndex)
            ExpectMembers(object, place, {kKeys, kGKeys, kOtherSlots});
        else
            ExpectMembers(object, place, {kKeys, kGKeys, kOtherSlots, kLighting});
        if (const Json* lighting = Find(object, kLighting))
            m_lighting[block] = ReadLighting(*lighting, PointerTo(place, kLighting));
        m_model.image.blocks[block] = BaselineBlock(block);
        if (const Json* keys = Find(object, kKeys)) {
            const std::string at = PointerTo(place, kKeys);
            ExpectObject(*keys, at);
            for (auto member = keys->begin(); member != keys->end(); ++member) {
                const uint16_t code = KeyOfIdentifier(member.key());
                if (code == kNoKey)
                    Refuse(PointerTo(at, member.key()), "unknown key name " + Quoted(member.key()));
                ReadSlot(*member, PointerTo(at, member.key()), block, KeyIndexOf(code));
            }
        }
        if (const Json* gKeys = Find(object, kGKeys))
            ReadGKeys(*gKeys, PointerTo(place, kGKeys), block);
        if (const Json* others = Find(object, kOtherSlots))
            ReadOtherSlots(*others, PointerTo(place, kOtherSlots), block);
    }

    static LightingBlock ReadLighting(const Json& object, const std::string& place)
    {
        ExpectObject(object, place);
        for (auto member = object.begin(); member != object.end(); ++member) {
            const std::string& name = member.key();
            const bool named = std::any_of(kLightingBytes.begin(), kLightingBytes.end(),
                                           [&name](const LightingByteName& byte) { return name == byte.name; });
            if (!named && name != kEffect && name != kColours && name != kOtherBytes)
                Refuse(PointerTo(place, name), "unknown member " + Quoted(name));
        }
        LightingBlock block{};
        block[kEffectOffset] = ReadEffect(Require(object, place, kEffect), PointerTo(place, kEffect));
        for (const LightingByteName& byte : kLightingBytes) {
            if (const Json* value = Find(object, byte.name)) {
                const std::string at = PointerTo(place, byte.name);
                block[byte.offset] = static_cast<uint8_t>(Unsigned(*value, at, byte.max));
                if (byte.offset == kDirectionOffset && block[byte.offset] != kDirectionLeft &&
                    block[byte.offset] != kDirectionRight)
                    Refuse(at, "must be " + std::to_string(kDirectionLeft) + " (left) or " +
                                   std::to_string(kDirectionRight) + " (right)");
            }
        }
        if (const Json* colours = Find(object, kColours)) {
            const std::string at = PointerTo(place, kColours);
            ExpectArray(*colours, at);
            if (colours->size() != kColourOffsets.size())
                Refuse(at, "must hold " + std::to_string(kColourOffsets.size()) + " colours");
            for (size_t i = 0; i < kColourOffsets.size(); ++i) {
                if (!ReadHex((*colours)[i], std::span(block).subspan(kColourOffsets[i], 3)))
                    Refuse(PointerTo(at, i), "must be a colour as six hexadecimal digits, RRGGBB");
            }
        }
        if (const Json* others = Find(object, kOtherBytes)) {
            const std::string at = PointerTo(place, kOtherBytes);
            ExpectObject(*others, at);
            for (auto member = others->begin(); member != others->end(); ++member) {
                const std::optional<size_t> offset = IndexOfName(member.key(), kLightingBlockSize);
                if (!offset || !IsOtherLightingByte(*offset))
                    Refuse(PointerTo(at, member.key()), "must be the offset of a byte without a name of its own");
                block[*offset] = static_cast<uint8_t>(Unsigned(*member, PointerTo(at, member.key()), UINT8_MAX));
            }
        }
        return block;
    }

    // An effect by its identifier or its code.
    static uint8_t ReadEffect(const Json& effect, const std::string& place)
    {
        if (!effect.is_string())
            return static_cast<uint8_t>(Unsigned(effect, place, UINT8_MAX));
        const std::optional<uint8_t> code = EffectOfIdentifier(effect.get_ref<const std::string&>());
        if (!code)
            Refuse(place, "unknown effect name " + effect.dump());
        return *code;
    }

    void ReadGKeys(const Json& banks, const std::string& place, size_t block)
    {
        ExpectMembers(banks, place, {kBankNames[0], kBankNames[1]});
        for (size_t bank = 0; bank < kBankNames.size(); ++bank) {
            const Json* keys = Find(banks, kBankNames[bank]);
            if (keys == nullptr)
                continue;
            const std::string at = PointerTo(place, kBankNames[bank]);
            ExpectObject(*keys, at);
            for (auto member = keys->begin(); member != keys->end(); ++member) {
                const std::string_view name = member.key();
                const std::optional<size_t> number =
                    name.starts_with('G') ? IndexOfName(name.substr(1), kGKeyCount + 1) : std::nullopt;
                if (!number || *number == 0)
                    Refuse(PointerTo(at, name), "unknown G-key " + Quoted(name) + " (G1 to G9)");
                ReadSlot(*member, PointerTo(at, name), block, GKeySlot(static_cast<GKeyBank>(bank), *number - 1));
            }
        }
    }

    void ReadOtherSlots(const Json& slots, const std::string& place, size_t block)
    {
        ExpectObject(slots, place);
        for (auto member = slots.begin(); member != slots.end(); ++member) {
            const std::string at = PointerTo(place, member.key());
            const std::optional<size_t> slot = IndexOfName(member.key(), kSlotsPerBlock);
            if (!slot)
                Refuse(at, "must be a slot number from 0 to " + std::to_string(kSlotsPerBlock - 1));
            if (*slot >= kGKeySlotBase && *slot < kGKeySlotEnd)
                Refuse(at, "slot " + member.key() + " is a G-key: write it under " + Quoted(kGKeys));
            if (*slot < kKeyIndexCount && !KeyIdentifier(KeyCatalogue()[*slot].code).empty())
                Refuse(at, "slot " + member.key() + " is key " + Quoted(KeyIdentifier(KeyCatalogue()[*slot].code)) +
                               ": write it under " + Quoted(kKeys));
            ReadSlot(*member, at, block, *slot);
        }
    }

    void ReadSlot(const Json& object, const std::string& place, size_t block, size_t slot)
    {
        ExpectObject(object, place);
        const uint16_t type = ReadType(object, place);
        const bool text = HasTextType(type);
        if (text)
            ExpectMembers(object, place, {kType, kText, kTextUnits, kGKeyCode, kLampFlag, kReserved});
        else
            ExpectMembers(object, place, {kType, ValueMemberOf(type), kValue, kGKeyCode, kLampFlag, kReserved});
        KeyAssignment& assignment = m_model.image.blocks[block][slot];
        assignment.type = type;
        assignment.value = text ? 0 : ReadSlotValue(object, place, type);
        ReadOptional(object, place, kGKeyCode, assignment.gKeyCode);
        ReadOptional(object, place, kLampFlag, assignment.lampFlag);
        ReadOptional(object, place, kReserved, assignment.reserved);
        if (text) {
            std::u16string units = ReadText(object, place, kText, kTextUnits, kMaxTextPoolBytes / 2);
            // The file's header counts the pool in 32 bits.
            m_textPoolBytes += (units.size() + 1) * sizeof(char16_t);
            if (m_textPoolBytes > kMaxTextPoolBytes)
                Refuse(place, "the texts are more than a profile file holds");
            m_model.texts.Set(block * kSlotsPerBlock + slot, std::move(units));
        }
    }

    void ReadMacros(const Json& macros, const std::string& place)
    {
        ExpectArray(macros, place);
        if (macros.size() > kMaxMacros)
            Refuse(PointerTo(place, kMaxMacros), "a profile holds at most " + std::to_string(kMaxMacros) + " macros");
        std::vector<MacroRecord> records;
        records.reserve(macros.size());
        for (size_t i = 0; i < macros.size(); ++i)
            records.push_back(ReadMacro(macros[i], PointerTo(place, i)));
        (void)m_model.macros.Assign(std::move(records));
    }

    static MacroRecord ReadMacro(const Json& object, const std::string& place)
    {
        ExpectMembers(object, place,
                      {kNumber, kName, kNameUnits, kNameTail, kRepeat, kActions, kUnusedActions, kNewFlag, kPlayMode,
                       kReserved1, kReserved2});
        MacroRecord macro;
        macro.number =
            static_cast<uint16_t>(Unsigned(Require(object, place, kNumber), PointerTo(place, kNumber), UINT16_MAX));
        const std::u16string name = ReadText(object, place, kName, kNameUnits, kMaxMacroNameLength);
        macro.SetName(name);
        if (const Json* tail = Find(object, kNameTail)) {
            const std::string at = PointerTo(place, kNameTail);
            ExpectArray(*tail, at);
            const size_t room = MacroRecord::kNameUnits - name.size();
            if (tail->size() != room)
                Refuse(at, "must hold the " + std::to_string(room) + " units after the name");
            for (size_t i = 0; i < room; ++i)
                macro.name[name.size() + i] = static_cast<char16_t>(Unsigned((*tail)[i], PointerTo(at, i), UINT16_MAX));
        }
        ReadOptional(object, place, kRepeat, macro.repeatCount);
        ReadOptional(object, place, kNewFlag, macro.newFlag);
        ReadOptional(object, place, kPlayMode, macro.playMode);
        ReadOptional(object, place, kReserved1, macro.reserved1);
        ReadOptional(object, place, kReserved2, macro.reserved2);

        const std::string actionsAt = PointerTo(place, kActions);
        const Json& actions = Require(object, place, kActions);
        ExpectArray(actions, actionsAt);
        if (actions.size() > kMaxMacroActions)
            Refuse(PointerTo(actionsAt, kMaxMacroActions),
                   "a macro holds at most " + std::to_string(kMaxMacroActions) + " actions");
        macro.actionCount = static_cast<uint16_t>(actions.size());
        for (size_t i = 0; i < actions.size(); ++i)
            macro.actions[i] = ReadAction(actions[i], PointerTo(actionsAt, i), kMaxMacroDelayMs);
        if (const Json* unused = Find(object, kUnusedActions))
            ReadUnusedActions(*unused, PointerTo(place, kUnusedActions), macro);
        return macro;
    }

    static void ReadUnusedActions(const Json& unused, const std::string& place, MacroRecord& macro)
    {
        ExpectObject(unused, place);
        for (auto member = unused.begin(); member != unused.end(); ++member) {
            const std::string at = PointerTo(place, member.key());
            const std::optional<size_t> slot = IndexOfName(member.key(), kMaxMacroActions);
            if (!slot || *slot < macro.actionCount)
                Refuse(at, "must be an action slot from " + std::to_string(macro.actionCount) + " to " +
                               std::to_string(kMaxMacroActions - 1));
            // Never played: kept as they are, whatever their delay.
            macro.actions[*slot] = ReadAction(*member, at, UINT32_MAX);
        }
    }

    static MacroAction ReadAction(const Json& object, const std::string& place, uint32_t maxDelay)
    {
        ExpectMembers(object, place, {kKey, kDirection, kDelay});
        MacroAction action;
        action.keyCode = ReadKeyCode(Require(object, place, kKey), PointerTo(place, kKey));
        const Json& direction = Require(object, place, kDirection);
        if (direction == kPress)
            action.direction = kMacroPress;
        else if (direction == kRelease)
            action.direction = kMacroRelease;
        else if (direction.is_string())
            Refuse(PointerTo(place, kDirection), "must be " + Quoted(kPress) + " or " + Quoted(kRelease));
        else
            action.direction = static_cast<uint16_t>(Unsigned(direction, PointerTo(place, kDirection), UINT16_MAX));
        action.delay =
            static_cast<uint32_t>(Unsigned(Require(object, place, kDelay), PointerTo(place, kDelay), maxDelay));
        return action;
    }

    ConfigModel& m_model;
    ProfileLighting& m_lighting;
    uint64_t m_textPoolBytes = 0;
};

// "line L, column C" of a byte offset.
std::string PositionOf(std::string_view text, size_t byte)
{
    const std::string_view before = text.substr(0, std::min(byte, text.size()));
    const size_t line = static_cast<size_t>(std::count(before.begin(), before.end(), '\n')) + 1;
    const size_t lineStart = before.rfind('\n');
    const size_t column = before.size() - (lineStart == std::string_view::npos ? 0 : lineStart + 1);
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

} // namespace

bool DecodeProfileJson(std::string_view text, ConfigModel& model, ProfileLighting& lighting, ProfileJsonError& error)
{
    try {
        const Json document = Json::parse(text);
        auto read = std::make_unique<ConfigModel>();
        NewModel(*read, 0);
        ProfileLighting readLighting;
        Reader(*read, readLighting).Read(document);
        model = std::move(*read);
        lighting = readLighting;
        return true;
    } catch (const Json::parse_error& parseError) {
        error = {{}, "not JSON: syntax error at " + PositionOf(text, parseError.byte)};
    } catch (const Refusal& refusal) {
        error = {refusal.place, refusal.reason};
    } catch (const std::bad_alloc&) {
        error = {{}, "out of memory"};
    }
    return false;
}

} // namespace tavrix::model
