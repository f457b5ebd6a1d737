#include "ctl/keyboard_operations.h"

#include <memory>
#include <new>

#include "ctl/lighting_command.h"
#include "device/protocol.h"
#include "model/profile_file.h"

namespace tavrix::ctl {

namespace {

const CtlOutcome kNoKeyboard{app::CtlStatus::NoKeyboard, "no keyboard found"};

} // namespace

app::CtlReply KeyboardOperations::Serve(const CtlRequest& request)
{
    app::CtlReply reply;
    CtlOutcome outcome;
    switch (request.command) {
    case CtlCommand::Status: {
        StatusRecord status;
        outcome = ReadStatus(status);
        reply.payload = EncodeStatusRecord(status);
        break;
    }
    case CtlCommand::SwitchProfile:
        outcome = SwitchProfile(request.profile);
        break;
    case CtlCommand::ReadConfiguration: {
        Configuration configuration;
        outcome = ReadConfiguration(configuration);
        if (outcome.Done())
            reply.payload = EncodeConfiguration(configuration);
        break;
    }
    case CtlCommand::WriteConfiguration: {
        WriteResult result;
        outcome = WriteConfiguration(request.configuration, result);
        break;
    }
    case CtlCommand::ChangeLighting:
        outcome = HasKeyboard() ? ChangeLighting(m_commands, request.lighting) : kNoKeyboard;
        break;
    }
    reply.status = outcome.status;
    reply.text = outcome.message;
    return reply;
}

CtlOutcome KeyboardOperations::ReadStatus(StatusRecord& status)
{
    status = {};
    status.deviceCount = static_cast<uint32_t>(std::max(0, m_sync.LastDeviceCount()));
    if (!HasKeyboard())
        return kNoKeyboard;
    status.profile = m_commands.GetCurrentProfile();
    std::array<uint8_t, device::kInfoBlockSize> info{};
    if (const int result = m_commands.ReadInfoBlock(info); result != device::kResultOk)
        return KeyboardFailure(result, "the keyboard's information block could not be read");
    status.info = info;
    model::LightingBlock lighting{};
    if (status.profile >= 0 && ReadLightingBlock(m_commands, status.profile, lighting) == device::kResultOk)
        status.lighting = lighting;
    return {};
}

CtlOutcome KeyboardOperations::SwitchProfile(int profile)
{
    if (!HasKeyboard())
        return kNoKeyboard;
    m_commands.SetCurrentProfile(profile);
    if (m_commands.GetCurrentProfile() != profile)
        return {app::CtlStatus::Failed, "the keyboard did not switch to profile " + std::to_string(profile + 1)};
    return {};
}

CtlOutcome KeyboardOperations::ReadConfiguration(Configuration& configuration)
{
    if (!HasKeyboard())
        return kNoKeyboard;
    try {
        auto read = std::make_unique<model::ConfigModel>();
        if (!m_sync.ReadKeyboard(*read))
            return {app::CtlStatus::Failed, "the keyboard's configuration could not be read whole"};
        configuration.file = model::EncodeProfileFile(*read);
    } catch (const std::bad_alloc&) {
        return {app::CtlStatus::Failed, "out of memory"};
    }
    for (size_t profile = 0; profile < configuration.lighting.size(); ++profile) {
        model::LightingBlock block{};
        if (const int result = ReadLightingBlock(m_commands, static_cast<int>(profile), block);
            result != device::kResultOk)
            return KeyboardFailure(result,
                                   "the lighting of profile " + std::to_string(profile + 1) + " could not be read");
        configuration.lighting[profile] = block;
    }
    return {};
}

CtlOutcome KeyboardOperations::WriteConfiguration(const Configuration& configuration, WriteResult& result)
{
    result = {};
    if (!HasKeyboard())
        return kNoKeyboard;
    // Nothing is loaded that could not be written: the keys need the default key table.
    if (!m_sync.CanWriteKeyTables())
        return {app::CtlStatus::Failed, "nothing was written: the keyboard's default key table is unknown"};
    std::vector<uint8_t> effects;
    for (const std::optional<model::LightingBlock>& block : configuration.lighting) {
        if (block)
            effects.push_back((*block)[model::kEffectOffset]);
    }
    if (!effects.empty()) {
        if (CtlOutcome offered = CheckEffectsOffered(m_commands, effects); !offered.Done()) {
            offered.message += "; nothing was written";
            return offered;
        }
    }
    const model::DeviceSync::ApplyResult applied = m_sync.RestoreFromBytes(configuration.file);
    if (!applied.loaded)
        return {app::CtlStatus::BadFile, "the file is not a whole profile file; nothing was written"};
    result.loaded = true;
    result.cacheSaved = applied.saved;
    if (!applied.written)
        return {app::CtlStatus::Failed, "the keyboard did not take the whole configuration"};
    return effects.empty() ? CtlOutcome{} : WriteLightingBlocks(m_commands, configuration.lighting);
}

} // namespace tavrix::ctl
