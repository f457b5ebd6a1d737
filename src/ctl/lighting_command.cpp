#include "ctl/lighting_command.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "device/protocol.h"
#include "model/lighting_effects.h"

namespace tavrix::ctl {

namespace {

struct EffectEntry {
    int code;
    std::string_view name;
};

// Names for scripts: they stay the same whatever the language files call the effects.
constexpr std::array<EffectEntry, 29> kEffects{{
    {1, "wave"},
    {2, "rainbow-wave"},
    {3, "ripple"},
    {4, "scroll"},
    {5, "static"},
    {6, "breathing"},
    {7, "reactive"},
    {8, "spectrum"},
    {9, "starlight"},
    {10, "snake"},
    {11, "raindrops"},
    {12, "crossfire"},
    {13, "heartbeat"},
    {14, "twinkle"},
    {15, "rain"},
    {16, "sweep"},
    {17, "fireworks"},
    {18, "aurora"},
    {19, "pulse"},
    {20, "flash"},
    {21, "sparkle"},
    {22, "ripple-trail"},
    {23, "color-cycle"},
    {24, "radar"},
    {25, "gradient"},
    {26, "wave-trigger"},
    {27, "stream"},
    {28, "spiral"},
    {model::kPerKeyEffect, "custom"},
}};

constexpr std::array<int, model::kReportRateLast + 1> kReportRatesHz{1000, 500, 250, 125};

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

// The effects whose direction pictures show spreading and gathering, and up and down.
constexpr int kSpreadGatherEffect = 3;
constexpr int kUpDownEffect = 15;

} // namespace

std::string_view EffectName(int code)
{
    const auto entry =
        std::find_if(kEffects.begin(), kEffects.end(), [code](const EffectEntry& e) { return e.code == code; });
    return entry == kEffects.end() ? std::string_view() : entry->name;
}

std::optional<uint8_t> EffectOfName(std::string_view text)
{
    const auto entry =
        std::find_if(kEffects.begin(), kEffects.end(), [text](const EffectEntry& e) { return e.name == text; });
    if (entry != kEffects.end())
        return static_cast<uint8_t>(entry->code);
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
    const size_t pair = effect == kSpreadGatherEffect ? 2 : effect == kUpDownEffect ? 4 : 0;
    return kDirections[pair + (direction == model::kDirectionLeft ? 0 : 1)].word;
}

int ReadLightingBlock(device::CommandSet& commands, int profile, model::LightingBlock& block)
{
    std::array<uint8_t, device::kDataSize> reply{};
    (void)commands.BeginConfig();
    const int result = commands.ReadLightingBytes(reply, static_cast<int>(model::kLightingBlockSize),
                                                  model::LightingAddress(profile, 0));
    (void)commands.EndConfig();
    if (result == device::kResultOk)
        std::copy_n(reply.begin(), block.size(), block.begin());
    return result;
}

CtlOutcome ChangeLighting(device::CommandSet& commands, const LightingChange& change)
{
    const int profile = commands.GetCurrentProfile();
    if (profile < 0)
        return {app::CtlStatus::Failed, "the keyboard's current profile could not be read"};
    if (change.effect) {
        std::array<uint8_t, device::kInfoBlockSize> info{};
        if (const int result = commands.ReadInfoBlock(info); result != device::kResultOk)
            return KeyboardFailure(result, "the keyboard's information block could not be read");
        const std::vector<uint8_t> offered = model::SupportedEffects(info);
        // The panel offers only what the keyboard lists, and writes only effects it knows.
        if (!model::IsKnownEffect(*change.effect) ||
            std::find(offered.begin(), offered.end(), *change.effect) == offered.end())
            return {app::CtlStatus::Failed, "the keyboard does not offer effect " + std::to_string(*change.effect)};
    }
    const std::pair<std::size_t, std::optional<uint8_t>> fields[] = {
        {model::kEffectOffset, change.effect},         {model::kBrightnessOffset, change.brightness},
        {model::kSpeedOffset, change.speed},           {model::kDirectionOffset, change.direction},
        {model::kReportRateOffset, change.reportRate},
    };
    int result = commands.BeginConfig();
    if (result != device::kResultOk)
        return KeyboardFailure(result, "the keyboard refused to change its lighting");
    // A bracket once begun is always ended, whatever a write in it did.
    for (const auto& [offset, value] : fields) {
        if (value && result == device::kResultOk)
            result = commands.WriteLightingBytes({&*value, 1}, model::LightingAddress(profile, offset));
    }
    const int ended = commands.EndConfig();
    if (result == device::kResultOk)
        result = ended;
    if (result != device::kResultOk)
        return KeyboardFailure(result, "the keyboard did not take the lighting");
    return {};
}

} // namespace tavrix::ctl
