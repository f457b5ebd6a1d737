#include "ctl/lighting_command.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>

#include "device/protocol.h"
#include "model/key_identifiers.h"
#include "model/lighting_effects.h"

namespace tavrix::ctl {

namespace {

struct DirectionEntry {
    std::string_view word;
    uint8_t direction;
};

constexpr std::array<DirectionEntry, 6> kDirections{{
    {"left", model::kDirectionLeft},
    {"right", model::kDirectionRight},
    {"spread", model::kDirectionLeft},
    {"gather", model::kDirectionRight},
    {"up", model::kDirectionLeft},
    {"down", model::kDirectionRight},
}};

// Runs the lighting writes (a result code of the command set) in one configuration, which takes
// its turn with the running program's others and is always ended, whatever a write in it did.
CtlOutcome WriteInBracket(device::CommandSet& commands, const std::function<int()>& writes)
{
    const int result = commands.Configure(writes);
    if (result != device::kResultOk)
        return KeyboardFailure(result, "the keyboard did not take the lighting");
    return {};
}

} // namespace

std::optional<uint8_t> EffectOfName(std::string_view text)
{
    if (const std::optional<uint8_t> code = model::EffectOfIdentifier(text))
        return code;
    unsigned code = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() || code == 0 || code > UINT8_MAX)
        return std::nullopt;
    return static_cast<uint8_t>(code);
}

int ReportRateHz(int code)
{
    return kReportRatesHz[static_cast<size_t>(std::clamp(code, 0, model::kReportRateLast))];
}

std::optional<uint8_t> ReportRateOfHz(int hz)
{
    const auto rate = std::find(kReportRatesHz.begin(), kReportRatesHz.end(), hz);
    return rate == kReportRatesHz.end() ? std::nullopt
                                        : std::optional<uint8_t>(static_cast<uint8_t>(rate - kReportRatesHz.begin()));
}

std::optional<uint8_t> DirectionOfWord(std::string_view word)
{
    const auto entry = std::find_if(kDirections.begin(), kDirections.end(),
                                    [word](const DirectionEntry& d) { return d.word == word; });
    return entry == kDirections.end() ? std::nullopt : std::optional<uint8_t>(entry->direction);
}

std::string_view DirectionWord(int effect, uint8_t direction)
{
    const model::DirectionLook look = model::DirectionLookOf(effect);
    const size_t pair = look == model::DirectionLook::SpreadGather ? 2 : look == model::DirectionLook::UpDown ? 4 : 0;
    return kDirections[pair + (direction == model::kDirectionLeft ? 0 : 1)].word;
}

int ReadLightingBlock(device::CommandSet& commands, int profile, model::LightingBlock& block)
{
    std::array<uint8_t, device::kDataSize> reply{};
    int result = device::kResultOk;
    (void)commands.Configure([&] {
        result = commands.ReadLightingBytes(reply, static_cast<int>(model::kLightingBlockSize),
                                            model::LightingAddress(profile, 0));
        return result;
    });
    if (result == device::kResultOk)
        std::copy_n(reply.begin(), block.size(), block.begin());
    return result;
}

CtlOutcome CheckEffectsOffered(device::CommandSet& commands, std::span<const uint8_t> effects)
{
    std::array<uint8_t, device::kInfoBlockSize> info{};
    if (const int result = commands.ReadInfoBlock(info); result != device::kResultOk)
        return KeyboardFailure(result, "the keyboard's information block could not be read");
    const std::vector<uint8_t> offered = model::SupportedEffects(info);
    // The panel offers only what the keyboard lists, and writes only effects it knows.
    for (const uint8_t effect : effects) {
        if (!model::IsKnownEffect(effect) || std::find(offered.begin(), offered.end(), effect) == offered.end())
            return {app::CtlStatus::Failed, "the keyboard does not offer effect " + std::to_string(effect)};
    }
    return {};
}

CtlOutcome ChangeLighting(device::CommandSet& commands, const LightingChange& change)
{
    const int profile = commands.GetCurrentProfile();
    if (profile < 0)
        return {app::CtlStatus::Failed, "the keyboard's current profile could not be read"};
    if (change.effect) {
        if (CtlOutcome offered = CheckEffectsOffered(commands, {&*change.effect, 1}); !offered.Done())
            return offered;
    }
    const std::pair<std::size_t, std::optional<uint8_t>> fields[] = {
        {model::kEffectOffset, change.effect},         {model::kBrightnessOffset, change.brightness},
        {model::kSpeedOffset, change.speed},           {model::kDirectionOffset, change.direction},
        {model::kReportRateOffset, change.reportRate},
    };
    return WriteInBracket(commands, [&] {
        int result = device::kResultOk;
        for (const auto& [offset, value] : fields) {
            if (value && result == device::kResultOk)
                result = commands.WriteLightingBytes({&*value, 1}, model::LightingAddress(profile, offset));
        }
        return result;
    });
}

CtlOutcome WriteLightingBlocks(device::CommandSet& commands, const model::ProfileLighting& lighting)
{
    return WriteInBracket(commands, [&] {
        int result = device::kResultOk;
        for (size_t profile = 0; profile < lighting.size() && result == device::kResultOk; ++profile) {
            if (lighting[profile])
                result = commands.WriteLightingBytes(*lighting[profile],
                                                     model::LightingAddress(static_cast<int>(profile), 0));
        }
        return result;
    });
}

} // namespace tavrix::ctl
