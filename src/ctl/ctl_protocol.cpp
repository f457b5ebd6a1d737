#include "ctl/ctl_protocol.h"

#include <algorithm>
#include <tuple>

#include "device/protocol.h"
#include "platform/little_endian.h"

namespace tavrix::ctl {

namespace {

constexpr size_t kCommandSize = 4;
constexpr size_t kProfileBodySize = kCommandSize + 4;
// A mask of the fields given, then effect, brightness, speed, direction and report rate.
constexpr size_t kLightingBodySize = kCommandSize + 6;
constexpr uint8_t kEffectBit = 0x01;
constexpr uint8_t kBrightnessBit = 0x02;
constexpr uint8_t kSpeedBit = 0x04;
constexpr uint8_t kDirectionBit = 0x08;
constexpr uint8_t kReportRateBit = 0x10;
constexpr uint8_t kLightingBits = 0x1F;

constexpr uint8_t kAllProfileBits = (1u << std::tuple_size_v<model::ProfileLighting>)-1;

constexpr uint32_t kNoProfile = 0xFFFFFFFF;
constexpr uint8_t kInfoKnown = 0x01;
constexpr uint8_t kLightingKnown = 0x02;
constexpr size_t kStatusInfoOffset = 9;
constexpr size_t kStatusLightingOffset = kStatusInfoOffset + device::kInfoBlockSize;
constexpr size_t kStatusRecordSize = kStatusLightingOffset + model::kLightingBlockSize;

struct LightingField {
    uint8_t bit;
    std::optional<uint8_t> LightingChange::*field;
};

constexpr std::array<LightingField, 5> kLightingFields{{
    {kEffectBit, &LightingChange::effect},
    {kBrightnessBit, &LightingChange::brightness},
    {kSpeedBit, &LightingChange::speed},
    {kDirectionBit, &LightingChange::direction},
    {kReportRateBit, &LightingChange::reportRate},
}};

bool IsValid(const LightingChange& change)
{
    const auto within = [](const std::optional<uint8_t>& value, int last) { return !value || *value <= last; };
    return !change.Empty() && (!change.effect || *change.effect != 0) &&
           within(change.brightness, model::kSliderLast) && within(change.speed, model::kSliderLast) &&
           within(change.reportRate, model::kReportRateLast) &&
           (!change.direction || *change.direction == model::kDirectionLeft ||
            *change.direction == model::kDirectionRight);
}

std::optional<LightingChange> DecodeLighting(std::span<const uint8_t> fields)
{
    const uint8_t mask = fields[0];
    if ((mask & ~kLightingBits) != 0)
        return std::nullopt;
    LightingChange change;
    for (size_t i = 0; i < kLightingFields.size(); ++i) {
        if (mask & kLightingFields[i].bit)
            change.*kLightingFields[i].field = fields[1 + i];
    }
    if (!IsValid(change))
        return std::nullopt;
    return change;
}

} // namespace

std::vector<uint8_t> EncodeConfiguration(const Configuration& configuration)
{
    std::vector<uint8_t> bytes(1);
    for (size_t profile = 0; profile < configuration.lighting.size(); ++profile) {
        if (const std::optional<model::LightingBlock>& block = configuration.lighting[profile]) {
            bytes[0] |= static_cast<uint8_t>(1u << profile);
            bytes.insert(bytes.end(), block->begin(), block->end());
        }
    }
    bytes.insert(bytes.end(), configuration.file.begin(), configuration.file.end());
    return bytes;
}

std::optional<Configuration> DecodeConfiguration(std::span<const uint8_t> bytes)
{
    if (bytes.empty() || (bytes[0] & ~kAllProfileBits) != 0)
        return std::nullopt;
    Configuration configuration;
    size_t at = 1;
    for (size_t profile = 0; profile < configuration.lighting.size(); ++profile) {
        if ((bytes[0] & (1u << profile)) == 0)
            continue;
        if (bytes.size() - at < model::kLightingBlockSize)
            return std::nullopt;
        configuration.lighting[profile].emplace();
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), model::kLightingBlockSize,
                    configuration.lighting[profile]->begin());
        at += model::kLightingBlockSize;
    }
    if (at == bytes.size())
        return std::nullopt;
    configuration.file.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
    return configuration;
}

CtlOutcome KeyboardFailure(int result, const std::string& what)
{
    if (result == device::kResultNoDevice)
        return {app::CtlStatus::NoKeyboard, "no keyboard found"};
    return {app::CtlStatus::Failed, what + " (result " + std::to_string(result) + ")"};
}

std::vector<uint8_t> EncodeCtlBody(const CtlRequest& request)
{
    std::vector<uint8_t> body(kCommandSize);
    platform::Put32(body, 0, static_cast<uint32_t>(request.command));
    switch (request.command) {
    case CtlCommand::SwitchProfile:
        body.resize(kProfileBodySize);
        platform::Put32(body, kCommandSize, static_cast<uint32_t>(request.profile));
        break;
    case CtlCommand::WriteConfiguration: {
        const std::vector<uint8_t> configuration = EncodeConfiguration(request.configuration);
        body.insert(body.end(), configuration.begin(), configuration.end());
        break;
    }
    case CtlCommand::ChangeLighting:
        body.resize(kLightingBodySize);
        for (size_t i = 0; i < kLightingFields.size(); ++i) {
            if (const std::optional<uint8_t>& value = request.lighting.*kLightingFields[i].field) {
                body[kCommandSize] |= kLightingFields[i].bit;
                body[kCommandSize + 1 + i] = *value;
            }
        }
        break;
    case CtlCommand::Status:
    case CtlCommand::ReadConfiguration:
        break;
    }
    return body;
}

std::optional<CtlRequest> DecodeCtlBody(std::span<const uint8_t> body)
{
    if (body.size() < kCommandSize)
        return std::nullopt;
    CtlRequest request;
    request.command = static_cast<CtlCommand>(platform::Get32(body, 0));
    const std::span<const uint8_t> rest = body.subspan(kCommandSize);
    switch (request.command) {
    case CtlCommand::Status:
    case CtlCommand::ReadConfiguration:
        return rest.empty() ? std::optional(request) : std::nullopt;
    case CtlCommand::SwitchProfile: {
        if (body.size() != kProfileBodySize)
            return std::nullopt;
        const uint32_t profile = platform::Get32(body, kCommandSize);
        if (profile >= static_cast<uint32_t>(device::kProfileCount))
            return std::nullopt;
        request.profile = static_cast<int>(profile);
        return request;
    }
    case CtlCommand::WriteConfiguration: {
        std::optional<Configuration> configuration = DecodeConfiguration(rest);
        if (!configuration)
            return std::nullopt;
        request.configuration = std::move(*configuration);
        return request;
    }
    case CtlCommand::ChangeLighting: {
        if (body.size() != kLightingBodySize)
            return std::nullopt;
        const std::optional<LightingChange> change = DecodeLighting(rest);
        if (!change)
            return std::nullopt;
        request.lighting = *change;
        return request;
    }
    }
    return std::nullopt;
}

std::vector<uint8_t> EncodeStatusRecord(const StatusRecord& status)
{
    std::vector<uint8_t> bytes(kStatusRecordSize);
    platform::Put32(bytes, 0, status.deviceCount);
    platform::Put32(bytes, 4, status.profile < 0 ? kNoProfile : static_cast<uint32_t>(status.profile));
    bytes[8] = static_cast<uint8_t>((status.info ? kInfoKnown : 0) | (status.lighting ? kLightingKnown : 0));
    if (status.info)
        std::copy(status.info->begin(), status.info->end(), bytes.begin() + kStatusInfoOffset);
    if (status.lighting)
        std::copy(status.lighting->begin(), status.lighting->end(), bytes.begin() + kStatusLightingOffset);
    return bytes;
}

std::optional<StatusRecord> DecodeStatusRecord(std::span<const uint8_t> bytes)
{
    if (bytes.size() != kStatusRecordSize || (bytes[8] & ~(kInfoKnown | kLightingKnown)) != 0)
        return std::nullopt;
    StatusRecord status;
    status.deviceCount = platform::Get32(bytes, 0);
    const uint32_t profile = platform::Get32(bytes, 4);
    if (profile != kNoProfile && profile >= static_cast<uint32_t>(device::kProfileCount))
        return std::nullopt;
    status.profile = profile == kNoProfile ? -1 : static_cast<int>(profile);
    if (bytes[8] & kInfoKnown) {
        status.info.emplace();
        std::copy_n(bytes.begin() + kStatusInfoOffset, device::kInfoBlockSize, status.info->begin());
    }
    if (bytes[8] & kLightingKnown) {
        status.lighting.emplace();
        std::copy_n(bytes.begin() + kStatusLightingOffset, model::kLightingBlockSize, status.lighting->begin());
    }
    return status;
}

} // namespace tavrix::ctl
