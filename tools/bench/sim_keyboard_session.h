#pragma once

#include <cstdint>
#include <memory>

#include "device/command_set.h"
#include "device/device_link.h"
#include "quiet_device_host.h"

namespace tavrix::bench {

// A started device link on the simulated keyboard of the library linked into the benchmark,
// its memory kept in memory only. latencyUs is the simulated USB time of each report each way.
// Counts the reports the program writes, so a benchmark can set its time beside the transactions
// it took. One session at a time.
class SimKeyboardSession {
public:
    explicit SimKeyboardSession(uint32_t latencyUs);
    SimKeyboardSession(const SimKeyboardSession&) = delete;
    SimKeyboardSession& operator=(const SimKeyboardSession&) = delete;
    ~SimKeyboardSession();

    // False when the library would not start; nothing else may be used then.
    bool Started() const { return m_started; }
    device::DeviceLink& Link() { return *m_link; }
    device::CommandSet& Commands() { return *m_commands; }
    // Reports written to the keyboard since the session started.
    static uint64_t Transactions();

private:
    testing::QuietDeviceHost m_host;
    bool m_started = false;
    std::unique_ptr<device::DeviceLink> m_link;
    std::unique_ptr<device::CommandSet> m_commands;
};

} // namespace tavrix::bench
