#include "model/profile_json_schema.h"

#include <algorithm>

#include "platform/utf.h"

namespace tavrix::model::json_profile {

namespace {

std::array<ProfileBlock, kProfileBlockCount> MakeBaselines()
{
    std::array<ProfileBlock, kProfileBlockCount> blocks{};
    for (size_t block = 0; block < kKeyboardBlocks; ++block)
        ClearProfileBlock(blocks[block]);
    return blocks;
}

} // namespace

std::string_view TypeName(uint16_t type)
{
    const auto row = std::find_if(kSlotTypeNames.begin(), kSlotTypeNames.end(),
                                  [type](const SlotTypeName& t) { return t.type == type; });
    return row == kSlotTypeNames.end() ? std::string_view() : row->name;
}

std::optional<uint16_t> TypeOfName(std::string_view name)
{
    const auto row = std::find_if(kSlotTypeNames.begin(), kSlotTypeNames.end(),
                                  [name](const SlotTypeName& t) { return t.name == name; });
    return row == kSlotTypeNames.end() ? std::nullopt : std::optional<uint16_t>(row->type);
}

bool IsOtherLightingByte(size_t offset)
{
    const auto named = [offset](const LightingByteName& byte) { return byte.offset == offset; };
    const auto inColour = [offset](size_t start) { return offset >= start && offset < start + 3; };
    return offset != kEffectOffset && std::none_of(kLightingBytes.begin(), kLightingBytes.end(), named) &&
           std::none_of(kColourOffsets.begin(), kColourOffsets.end(), inColour);
}

bool HasTextType(uint16_t type)
{
    return type == kTypeDefaultWithText || type == kTypeNoOutputWithText;
}

const ProfileBlock& BaselineBlock(size_t block)
{
    static const std::array<ProfileBlock, kProfileBlockCount> baselines = MakeBaselines();
    return baselines[block];
}

std::string PointerTo(const std::string& parent, std::string_view member)
{
    std::string place = parent + "/";
    for (const char c : member) {
        if (c == '~')
            place += "~0";
        else if (c == '/')
            place += "~1";
        else
            place += c;
    }
    return place;
}

std::string PointerTo(const std::string& parent, size_t index)
{
    return parent + "/" + std::to_string(index);
}

std::optional<std::string> ExactUtf8(std::u16string_view text)
{
    std::string utf8 = platform::Utf16ToUtf8(text);
    // The conversion replaces what it cannot carry: only a text that comes back whole is exact.
    if (platform::Utf8ToUtf16(utf8) != text)
        return std::nullopt;
    return utf8;
}

} // namespace tavrix::model::json_profile
