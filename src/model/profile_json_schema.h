#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "device/commands.h"
#include "model/key_assignment.h"
#include "model/lighting_settings.h"
#include "model/profile_file_layout.h"

// What the JSON profile's writer and reader share: the member names, the one table of slot type
// names, the slots a block holds when nothing was assigned, and the text conversions that keep
// every UTF-16 unit.
namespace tavrix::model::json_profile {

// Members keep the order they were written in, so the file reads in the order of the model.
using Json = nlohmann::ordered_json;

inline constexpr const char* kFormat = "format";
inline constexpr const char* kVersion = "version";
inline constexpr const char* kProfiles = "profiles";
inline constexpr const char* kSpareBlock = "spareBlock";
inline constexpr const char* kMacros = "macros";
inline constexpr const char* kHeader = "header";
inline constexpr const char* kDescription = "deviceDescription";

inline constexpr const char* kKeys = "keys";
inline constexpr const char* kGKeys = "gKeys";
inline constexpr const char* kOtherSlots = "otherSlots";

inline constexpr const char* kType = "type";
inline constexpr const char* kKey = "key";
inline constexpr const char* kMacro = "macro";
inline constexpr const char* kMedia = "media";
inline constexpr const char* kFunction = "function";
inline constexpr const char* kText = "text";
inline constexpr const char* kTextUnits = "textUnits";
inline constexpr const char* kValue = "value";
inline constexpr const char* kGKeyCode = "gKeyCode";
inline constexpr const char* kLampFlag = "lampFlag";
inline constexpr const char* kReserved = "reserved";

inline constexpr const char* kNumber = "number";
inline constexpr const char* kName = "name";
inline constexpr const char* kNameUnits = "nameUnits";
inline constexpr const char* kNameTail = "nameTail";
inline constexpr const char* kRepeat = "repeat";
inline constexpr const char* kActions = "actions";
inline constexpr const char* kUnusedActions = "unusedActions";
inline constexpr const char* kNewFlag = "newFlag";
inline constexpr const char* kPlayMode = "playMode";
inline constexpr const char* kReserved1 = "reserved1";
inline constexpr const char* kReserved2 = "reserved2";
inline constexpr const char* kReserved3 = "reserved3";
inline constexpr const char* kDirection = "direction";
inline constexpr const char* kDelay = "delay";

inline constexpr const char* kLighting = "lighting";
inline constexpr const char* kEffect = "effect";
inline constexpr const char* kColours = "colours";
inline constexpr const char* kOtherBytes = "otherBytes";

inline constexpr const char* kPress = "press";
inline constexpr const char* kRelease = "release";

// The keyboard's profiles come first; the fourth block of the file follows them.
inline constexpr size_t kKeyboardBlocks = device::kProfileCount;
inline constexpr size_t kSpareBlockIndex = kKeyboardBlocks;
static_assert(kSpareBlockIndex + 1 == kProfileBlockCount);

inline constexpr std::array<const char*, 2> kBankNames{"A", "B"};

// The bytes of a lighting block that go by a name, besides the effect, with the largest value each
// takes: the sliders' range, and any byte where the panel reads larger values as it can (keyboards
// come with a tool of 255). The direction takes only kDirectionLeft and kDirectionRight.
struct LightingByteName {
    const char* name;
    size_t offset;
    uint8_t max;
};

inline constexpr std::array<LightingByteName, 6> kLightingBytes{{
    {"brightness", kBrightnessOffset, kSliderLast},
    {"speed", kSpeedOffset, kSliderLast},
    {"userPattern", kUserPatternOffset, UINT8_MAX},
    {"direction", kDirectionOffset, kDirectionLeft},
    {"reportRate", kReportRateOffset, UINT8_MAX},
    {"tool", kToolOffset, UINT8_MAX},
}};

// Where the block's five colours start, three bytes (red, green, blue) each.
inline constexpr std::array<size_t, 5> kColourOffsets{5, 9, 12, 25, 30};

// True for a byte of the block that neither the effect, a named byte nor a colour covers.
bool IsOtherLightingByte(size_t offset);

struct SlotTypeName {
    uint16_t type;
    std::string_view name;
};

inline constexpr std::array<SlotTypeName, 9> kSlotTypeNames{{
    {kTypeDefault, "default"},
    {kTypeDisabled, "disabled"},
    {kTypeKey, "key"},
    {kTypeDefaultWithText, "defaultWithText"},
    {kTypeMacro, "macro"},
    {kTypeKeyboardSpecial, "special"},
    {kTypeNoOutputWithText, "noOutputWithText"},
    {kTypeMedia, "media"},
    {kTypeFunction, "function"},
}};

std::string_view TypeName(uint16_t type);
std::optional<uint16_t> TypeOfName(std::string_view name);

bool HasTextType(uint16_t type);

// The block as nothing assigned leaves it: the keyboard's profiles carry the G-key codes, the
// spare block is all zero. A slot equal to its baseline is left out of the JSON.
const ProfileBlock& BaselineBlock(size_t block);

// The JSON pointer of a member of the value at parent ("~" and "/" escaped).
std::string PointerTo(const std::string& parent, std::string_view member);
std::string PointerTo(const std::string& parent, size_t index);

// The text as UTF-8 when it is well-formed UTF-16; nothing when it holds an unpaired surrogate,
// which JSON text cannot carry (it is then written unit by unit).
std::optional<std::string> ExactUtf8(std::u16string_view text);

// A fault found while reading or writing, with its place; caught at the codec's edge.
struct Refusal {
    std::string place;
    std::string reason;
};

} // namespace tavrix::model::json_profile
