#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "app/instance_messages.h"
#include "ctl/ctl_protocol.h"
#include "device/command_set.h"
#include "model/device_sync.h"

// What tavrix-ctl asks of the keyboard, carried out on the program's own model code: by the
// running instance on its window's synchronisation, or by tavrix-ctl on one of its own. Messages
// of the synchronisation go to its host; the caller adds them to the reply.
namespace tavrix::ctl {

// What a write of a configuration did, which the window then shows.
struct WriteResult {
    bool loaded = false;     // the profile file replaced the model
    bool cacheSaved = false; // the cache file holds it too
};

class KeyboardOperations {
public:
    KeyboardOperations(device::CommandSet& commands, model::DeviceSync& sync) : m_commands(commands), m_sync(sync) {}

    // Carries out the request. The payload is a StatusRecord for Status (also without a
    // keyboard) and a Configuration for ReadConfiguration.
    [[nodiscard]] app::CtlReply Serve(const CtlRequest& request);

    // The keyboard count, and the current profile, information block and lighting block.
    [[nodiscard]] CtlOutcome ReadStatus(StatusRecord& status);
    // Switches the keyboard's current profile (0..2) and checks that it took it.
    [[nodiscard]] CtlOutcome SwitchProfile(int profile);
    // The keyboard's whole configuration, read afresh: its profile file and every profile's
    // lighting block.
    [[nodiscard]] CtlOutcome ReadConfiguration(Configuration& configuration);
    // As the window's import: nothing is loaded that could not be written (lighting with an effect
    // the keyboard does not offer included), the model is replaced only by a file that loads
    // whole, the cache file follows it, and every profile is written; then the lighting blocks
    // given.
    [[nodiscard]] CtlOutcome WriteConfiguration(const Configuration& configuration, WriteResult& result);

private:
    bool HasKeyboard() const { return m_sync.LastDeviceCount() > 0; }

    device::CommandSet& m_commands;
    model::DeviceSync& m_sync;
};

} // namespace tavrix::ctl
