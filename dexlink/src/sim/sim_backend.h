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

namespace tavrix::dexlink {

// Backend "sim": one simulated keyboard with its command, consumer and status collections.
// The keyboard's memory lives in the state file named by DEXLINK_SIM_STATE (default
// $XDG_DATA_HOME/PL3094V/sim-keyboard.bin; an empty value keeps it in memory only): loaded at
// start, written again each time the keyboard commits, so a demo's changes survive restarts.
// Besides the keyboard's behaviour it offers the faults tests need: replies dropped, delayed,
// lengthened or answered with another command code or a refusal status, unplug and replug, and
// keyboard events.
class SimBackend : public Backend {
public:
    // How the next reply goes wrong; each queued fault is used up by one reply.
    struct ReplyFault {
        enum class Kind {
            Drop,         // no reply at all
            OtherCommand, // byte 3 answers another command code
            Status,       // byte 7 := value (0xFE, 0xFF: refused)
            Delay,        // delivered value microseconds later
            Length,       // reported with value bytes (zero-filled past 64)
        };
        Kind kind = Kind::Drop;
        int value = 0;
    };

    static constexpr std::size_t kTrafficKept = 4096;

    explicit SimBackend(EventSink& sink);

    int DeviceCount(const DeviceSelector& selector) override;
    int Write(const DeviceSelector& selector, std::span<const uint8_t> report) override;
    int SetFeature(const DeviceSelector& selector, std::span<const uint8_t> report) override;

    void QueueReplyFault(ReplyFault fault, int count = 1);
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
    void AnswerCommand(std::span<const uint8_t> request);
    void DeviceCountChanged();

    EventSink& m_sink;
    std::chrono::microseconds m_latency{0};
    std::filesystem::path m_statePath; // before m_keyboard: loading the memory may clear it
    mutable std::mutex m_mutex;
    sim::KeyboardSimulator m_keyboard;
    bool m_plugged = true;
    std::deque<ReplyFault> m_faults;
    std::deque<sim::Report> m_requests;
    std::deque<std::vector<uint8_t>> m_statusWrites;
};

} // namespace tavrix::dexlink
