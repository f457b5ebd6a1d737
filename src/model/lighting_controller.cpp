#include "model/lighting_controller.h"

#include <algorithm>
#include <optional>

namespace tavrix::model {

namespace {

// A reply carries at most 56 bytes: the lamp area is read three patterns (54 bytes) at a time.
constexpr std::size_t kLampReadSize = 3 * kLampPatternSize;
// The factory patterns go out in four requests.
constexpr std::size_t kLampResetRequestSize = kLampAreaSize / 4;
// The effect restore defaults chooses: the factory's.
constexpr int kDefaultEffect = 5;

bool IsProfile(int profile)
{
    return profile >= 0 && profile < device::kProfileCount;
}

} // namespace

LightingController::LightingController(device::CommandSet& commands, Runner runner)
    : m_commands(commands), m_runner(std::move(runner))
{
}

int LightingController::Profile() const
{
    std::lock_guard lock(m_mutex);
    return m_profile;
}

LightingBlock LightingController::Block(int profile) const
{
    std::lock_guard lock(m_mutex);
    return IsProfile(profile) ? m_blocks[static_cast<std::size_t>(profile)] : LightingBlock{};
}

LampArea LightingController::Lamps(int profile) const
{
    std::lock_guard lock(m_mutex);
    return IsProfile(profile) ? m_lamps[static_cast<std::size_t>(profile)] : LampArea{};
}

std::vector<uint8_t> LightingController::Effects() const
{
    std::lock_guard lock(m_mutex);
    return m_effects;
}

bool LightingController::HasPerKeyEffect() const
{
    std::lock_guard lock(m_mutex);
    return std::find(m_effects.begin(), m_effects.end(), kPerKeyEffect) != m_effects.end();
}

LightingSettings LightingController::Settings() const
{
    std::lock_guard lock(m_mutex);
    return DecodeLightingSettings(m_blocks[static_cast<std::size_t>(m_profile)]);
}

int LightingController::ChosenEffect() const
{
    std::lock_guard lock(m_mutex);
    return m_chosenEffect;
}

bool LightingController::IsLampLit(int lamp) const
{
    if (lamp < 0 || lamp >= kLampCount) {
        return false;
    }
    std::lock_guard lock(m_mutex);
    const int pattern = DecodeLightingSettings(m_blocks[static_cast<std::size_t>(m_profile)]).userPattern;
    return model::IsLampLit(m_lamps[static_cast<std::size_t>(m_profile)], pattern, lamp);
}

void LightingController::SelectProfile(int profile)
{
    if (!IsProfile(profile)) {
        return;
    }
    std::lock_guard lock(m_mutex);
    m_profile = profile;
}

void LightingController::SetEffect(int code)
{
    {
        std::lock_guard lock(m_mutex);
        m_chosenEffect = code;
    }
    if (IsKnownEffect(code)) {
        SetSetting(kEffectOffset, static_cast<uint8_t>(code));
    }
}

void LightingController::SetBrightness(int value)
{
    if (value != Block(Profile())[kBrightnessOffset]) {
        SetSetting(kBrightnessOffset, static_cast<uint8_t>(value));
    }
}

void LightingController::SetSpeed(int value)
{
    if (value != Block(Profile())[kSpeedOffset]) {
        SetSetting(kSpeedOffset, static_cast<uint8_t>(value));
    }
}

void LightingController::SetDirection(uint8_t direction)
{
    SetSetting(kDirectionOffset, direction);
}

void LightingController::SetTool(uint8_t tool)
{
    SetSetting(kToolOffset, tool);
}

void LightingController::SetPattern(int pattern, bool write)
{
    if (pattern < 0 || pattern >= kUserPatternCount) {
        return;
    }
    if (write) {
        SetSetting(kUserPatternOffset, static_cast<uint8_t>(pattern));
        return;
    }
    std::lock_guard lock(m_mutex);
    BlockLocked(m_profile)[kUserPatternOffset] = static_cast<uint8_t>(pattern);
}

bool LightingController::ToggleLamp(int lamp)
{
    if (lamp < 0 || lamp >= kLampCount) {
        return false;
    }
    Patch patch{Area::Lamps, 0, 0, {}, 1};
    {
        std::lock_guard lock(m_mutex);
        if (m_chosenEffect != kPerKeyEffect) {
            return false;
        }
        const LightingSettings current = DecodeLightingSettings(BlockLocked(m_profile));
        LampArea lamps = LampsLocked(m_profile);
        SetLamp(lamps, current.userPattern, lamp, current.tool == kToolLight);
        patch.profile = m_profile;
        patch.offset = LampByteOffset(current.userPattern, lamp);
        patch.bytes = {lamps[patch.offset]};
    }
    Send(std::move(patch));
    return true;
}

void LightingController::SetAllLamps(bool lit)
{
    Patch patch{Area::Lamps, 0, 0, {}, kLampPatternSize};
    {
        std::lock_guard lock(m_mutex);
        patch.profile = m_profile;
        patch.offset = LampByteOffset(DecodeLightingSettings(BlockLocked(m_profile)).userPattern, 0);
        patch.bytes.assign(kLampPatternSize, lit ? 0xFF : 0x00);
    }
    Send(std::move(patch));
}

void LightingController::SetReportRate(int code)
{
    if (code >= 0 && code <= kReportRateLast) {
        SetSetting(kReportRateOffset, static_cast<uint8_t>(code));
    }
}

void LightingController::ResetDefaults()
{
    SetEffect(kDefaultEffect);
    const int profile = Profile();
    if (HasPerKeyEffect()) {
        const LampArea& defaults = DefaultLampPatterns();
        Send({Area::Lamps, profile, 0, {defaults.begin(), defaults.end()}, kLampResetRequestSize});
    }
    const std::span<const uint8_t, kDefaultBlockLength> block = DefaultLightingBlock();
    Send({Area::Settings, profile, 0, {block.begin(), block.end()}, kDefaultBlockLength});
}

void LightingController::SetSetting(std::size_t offset, uint8_t value)
{
    Send({Area::Settings, Profile(), offset, {value}, 1});
}

void LightingController::ApplyLocked(const Patch& patch)
{
    const auto at = static_cast<std::ptrdiff_t>(patch.offset);
    if (patch.area == Area::Settings) {
        std::copy(patch.bytes.begin(), patch.bytes.end(), BlockLocked(patch.profile).begin() + at);
    } else {
        std::copy(patch.bytes.begin(), patch.bytes.end(), LampsLocked(patch.profile).begin() + at);
    }
}

void LightingController::Send(Patch patch)
{
    {
        std::lock_guard lock(m_mutex);
        ApplyLocked(patch);
        patch.id = m_nextPatchId++;
        m_unwritten.push_back(patch);
    }
    Run([this, patch = std::move(patch)] {
        (void)Write(patch);
        std::lock_guard lock(m_mutex);
        std::erase_if(m_unwritten, [&patch](const Patch& unwritten) { return unwritten.id == patch.id; });
    });
}

int LightingController::Write(const Patch& patch)
{
    return m_commands.Configure([&] {
        // Every request goes out, as the user asked for all of them.
        int result = device::kResultOk;
        for (std::size_t done = 0; done < patch.bytes.size(); done += patch.requestSize) {
            const std::span<const uint8_t> bytes =
                std::span(patch.bytes).subspan(done, std::min(patch.requestSize, patch.bytes.size() - done));
            const std::size_t offset = patch.offset + done;
            const int written = patch.area == Area::Settings
                                    ? m_commands.WriteLightingBytes(bytes, LightingAddress(patch.profile, offset))
                                    : m_commands.WriteLampArea(bytes, static_cast<int>(offset), patch.profile);
            result = device::FirstFailure(result, written);
        }
        return result;
    });
}

void LightingController::Reload(LightingRead what, std::function<void(int)> done)
{
    const int profile = Profile();
    Run([this, what, profile, done = std::move(done)] {
        std::array<uint8_t, device::kInfoBlockSize> info{};
        if (m_commands.ReadInfoBlock(info) != device::kResultOk) {
            {
                std::lock_guard lock(m_mutex);
                m_effects.clear();
            }
            if (done) {
                done(-1);
            }
            return;
        }
        const std::vector<uint8_t> effects = SupportedEffects(info);
        const bool readLamps =
            what == LightingRead::Full && std::find(effects.begin(), effects.end(), kPerKeyEffect) != effects.end();
        std::array<std::optional<LightingBlock>, device::kProfileCount> blocks;
        LampArea lamps{};
        std::vector<std::pair<std::size_t, std::size_t>> lampsRead; // offset, length
        (void)m_commands.Configure([&] {
            for (std::size_t offset = 0; readLamps && offset < lamps.size(); offset += kLampReadSize) {
                const std::size_t length = std::min(kLampReadSize, lamps.size() - offset);
                std::array<uint8_t, device::kDataSize> reply{};
                if (m_commands.ReadLampArea(reply, static_cast<int>(length), static_cast<int>(offset), profile) ==
                    device::kResultOk) {
                    // Of each reply only the bytes asked for are the lamps'.
                    std::copy_n(reply.begin(), length, lamps.begin() + static_cast<std::ptrdiff_t>(offset));
                    lampsRead.emplace_back(offset, length);
                }
            }
            for (int p = 0; p < device::kProfileCount; ++p) {
                std::array<uint8_t, device::kDataSize> reply{};
                if (m_commands.ReadLightingBytes(reply, static_cast<int>(kLightingBlockSize), LightingAddress(p, 0)) ==
                    device::kResultOk) {
                    LightingBlock& block = blocks[static_cast<std::size_t>(p)].emplace();
                    std::copy_n(reply.begin(), block.size(), block.begin());
                }
            }
            return device::kResultOk;
        });
        {
            std::lock_guard lock(m_mutex);
            m_effects = effects;
            for (int p = 0; p < device::kProfileCount; ++p) {
                if (const std::optional<LightingBlock>& block = blocks[static_cast<std::size_t>(p)]) {
                    BlockLocked(p) = *block;
                }
            }
            for (const auto& [offset, length] : lampsRead) {
                const auto from = lamps.begin() + static_cast<std::ptrdiff_t>(offset);
                std::copy_n(from, length, LampsLocked(profile).begin() + static_cast<std::ptrdiff_t>(offset));
            }
            for (const Patch& patch : m_unwritten) {
                ApplyLocked(patch);
            }
            // As the effect list shows it: an effect the keyboard does not offer is not chosen.
            const int effect = BlockLocked(m_profile)[kEffectOffset];
            m_chosenEffect = std::find(effects.begin(), effects.end(), effect) != effects.end() ? effect : 0;
        }
        if (done) {
            done(0);
        }
    });
}

void LightingController::Run(Job job)
{
    if (m_runner) {
        m_runner(std::move(job));
        return;
    }
    job();
}

} // namespace tavrix::model
