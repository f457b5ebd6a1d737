#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <span>
#include <vector>

#include "backend.h"
#include "sim/keyboard_simulator.h"
#include "sim/sim_faults.h"

namespace tavrix::dexlink {

// Backend "sim": one simulated keyboard with its command, consumer and status collections.
// The keyboard's memory lives in the state file named by DEXLINK_SIM_STATE (default
// $XDG_DATA_HOME/PL3094V/sim-keyboard.bin; an empty value keeps it in memory only): loaded at
// start, written again each time the keyboard commits, so a demo's changes survive restarts.
// Besides the keyboard's behaviour it offers the faults tests need: replies dropped, delayed,
// lengthened or answered with another command code or a refusal status, unplug and replug, and
// keyboard events. The faults of DEXLINK_SIM_FAULTS (sim_faults.h) are set up at start.
//
// Replies leave in the order of their requests, as from a real keyboard: a delayed reply holds
// back the ones after it.
class SimBackend : public Backend {
public:
    using ReplyFault = dexlink::ReplyFault;

    static constexpr std::size_t kTrafficKept = 4096;

    explicit SimBackend(EventSink& sink);

    int DeviceCount(const DeviceSelector& selector) override;
    int Write(const DeviceSelector& selector, std::span<const uint8_t> report) override;
    int SetFeature(const DeviceSelector& selector, std::span<const uint8_t> report) override;

    // The next count replies, whatever their command, go wrong this way.
    void QueueReplyFault(ReplyFault fault, int count = 1);
    // Queued after the faults already waiting; a reply meets the first one that applies to it.
    void AddFault(const CommandFault& fault);
    // Information-block replies name this current profile, whatever the keyboard holds.
    void ReportCurrentProfile(uint8_t profile);
    void Unplug();
    void Replug();
    // A consumer-channel report carrying value, as the keyboard sends on its own.
    void SendConsumerEvent(uint16_t value);
    // A command-channel input report nobody asked for.
    void SendCommandReport(std::span<const uint8_t> report);

    // The last kTrafficKept command-channel requests and status-output writes, oldest first.
    std::vector<sim::Report> CommandRequests() const;
    std::vector<std::vector<uint8_t>> StatusWrites() const;
    // A copy of the keyboard's memory as it stands.
    sim::KeyboardMemory Memory() const;
    // Where the memory is kept; empty when in memory only.
    std::filesystem::path StatePath() const { return m_statePath; }

private:
    // Returns true when the keyboard is to go away after this reply.
    bool AnswerCommand(std::span<const uint8_t> request);
    // The fault the reply to command meets, used up by it; nothing when none applies.
    std::optional<ReplyFault> TakeFault(uint8_t command);
    void DeviceCountChanged();

    EventSink& m_sink;
    std::chrono::microseconds m_latency{0};
    std::filesystem::path m_statePath; // before m_keyboard: loading the memory may clear it
    mutable std::mutex m_mutex;
    sim::KeyboardSimulator m_keyboard;
    bool m_plugged = true;
    std::deque<CommandFault> m_faults;
    std::optional<uint8_t> m_reportedProfile;
    std::chrono::steady_clock::time_point m_lastReplyDue;
    std::deque<sim::Report> m_requests;
    std::deque<std::vector<uint8_t>> m_statusWrites;
};

} // namespace tavrix::dexlink
