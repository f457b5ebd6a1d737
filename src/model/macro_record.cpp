#include "model/macro_record.h"

#include <algorithm>

#include "model/little_endian.h"

namespace tavrix::model {

namespace {

constexpr size_t kDelayOffset = 0;
constexpr size_t kKeyCodeOffset = 4;
constexpr size_t kDirectionOffset = 6;
static_assert(kDirectionOffset + 2 == MacroAction::kSize);

constexpr size_t kNameOffset = 0;
constexpr size_t kRepeatCountOffset = 500;
constexpr size_t kReserved1Offset = 501;
constexpr size_t kNewFlagOffset = 502;
constexpr size_t kPlayModeOffset = 504;
constexpr size_t kNumberOffset = 506;
constexpr size_t kActionCountOffset = 508;
constexpr size_t kReserved2Offset = 510;
constexpr size_t kActionsOffset = 512;
static_assert(kNameOffset + MacroRecord::kNameUnits * 2 == kRepeatCountOffset);
static_assert(kActionsOffset + kMaxMacroActions * MacroAction::kSize == MacroRecord::kSize);

} // namespace

void MacroAction::Encode(std::span<uint8_t, kSize> out) const
{
    Put32(out, kDelayOffset, delay);
    Put16(out, kKeyCodeOffset, keyCode);
    Put16(out, kDirectionOffset, direction);
}

MacroAction MacroAction::Decode(std::span<const uint8_t, kSize> in)
{
    MacroAction action;
    action.delay = Get32(in, kDelayOffset);
    action.keyCode = Get16(in, kKeyCodeOffset);
    action.direction = Get16(in, kDirectionOffset);
    return action;
}

std::u16string MacroRecord::Name() const
{
    const auto end = name.begin() + kMaxMacroNameLength;
    return std::u16string(name.begin(), std::find(name.begin(), end, u'\0'));
}

void MacroRecord::SetName(std::u16string_view text)
{
    name.fill(u'\0');
    const size_t length = std::min(text.size(), kMaxMacroNameLength);
    std::copy_n(text.begin(), length, name.begin());
}

std::span<const MacroAction> MacroRecord::UsedActions() const
{
    return std::span<const MacroAction>(actions).first(std::min<size_t>(actionCount, kMaxMacroActions));
}

void MacroRecord::Encode(std::span<uint8_t, kSize> out) const
{
    for (size_t i = 0; i < kNameUnits; ++i)
        Put16(out, kNameOffset + 2 * i, static_cast<uint16_t>(name[i]));
    out[kRepeatCountOffset] = repeatCount;
    out[kReserved1Offset] = reserved1;
    Put16(out, kNewFlagOffset, newFlag);
    Put16(out, kPlayModeOffset, playMode);
    Put16(out, kNumberOffset, number);
    Put16(out, kActionCountOffset, actionCount);
    Put16(out, kReserved2Offset, reserved2);
    for (size_t i = 0; i < kMaxMacroActions; ++i)
        actions[i].Encode(out.subspan(kActionsOffset + i * MacroAction::kSize).first<MacroAction::kSize>());
}

MacroRecord MacroRecord::Decode(std::span<const uint8_t, kSize> in)
{
    MacroRecord record;
    for (size_t i = 0; i < kNameUnits; ++i)
        record.name[i] = static_cast<char16_t>(Get16(in, kNameOffset + 2 * i));
    record.repeatCount = in[kRepeatCountOffset];
    record.reserved1 = in[kReserved1Offset];
    record.newFlag = Get16(in, kNewFlagOffset);
    record.playMode = Get16(in, kPlayModeOffset);
    record.number = Get16(in, kNumberOffset);
    record.actionCount = Get16(in, kActionCountOffset);
    record.reserved2 = Get16(in, kReserved2Offset);
    for (size_t i = 0; i < kMaxMacroActions; ++i)
        record.actions[i] =
            MacroAction::Decode(in.subspan(kActionsOffset + i * MacroAction::kSize).first<MacroAction::kSize>());
    return record;
}

} // namespace tavrix::model
